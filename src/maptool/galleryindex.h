#pragma once

#include "maptool/mapsummary.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quintaraz {

/**
 * A gallery's index page: how many maps and of which verdict; a table of every map in the
 * order given, each row its preview and name linked to its page, its size, its verdict in
 * words and in colour, its weakest measure and ratio and its exact symmetries; then a table
 * of the files that are not maps and why. Without a script the page shows every row; the
 * site's script sorts the table by name, size, verdict and ratio and filters it by verdict.
 */
QByteArray galleryIndex(const QString& title, const QList<MapSummary>& files);

} // namespace quintaraz
