#pragma once

#include <QJsonObject>
#include <QString>

namespace quintaraz {

struct GameMap;

/** What info says of a map that opens: its size, its terrain counts and every start. */
QString mapReport(const QString& file, const GameMap& map);
/** The same for programs. */
QJsonObject mapReportJson(const QString& file, const GameMap& map);

} // namespace quintaraz
