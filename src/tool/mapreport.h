#pragma once

#include <QByteArray>
#include <QString>

namespace quintaraz {

struct MapReading;

/** What info says of a map that opens: its size, its terrain counts and every start. */
QString mapReport(const QString& file, const MapReading& map);
/** The same as one line of JSON, for programs. */
QByteArray mapReportJson(const QString& file, const MapReading& map);

} // namespace quintaraz
