#pragma once

#include <QByteArray>
#include <QString>

namespace quintaraz {

struct GameMap;

/** What info says of a map that opens: its size, its terrain counts and every start. */
QString mapReport(const QString& file, const GameMap& map);
/** The same as one line of JSON, for programs. */
QByteArray mapReportJson(const QString& file, const GameMap& map);

} // namespace quintaraz
