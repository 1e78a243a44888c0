#pragma once

#include "map/gamemap.h"

#include <QByteArray>
#include <QString>

namespace quintaraz {

/**
 * The map as the one line of text that the game reads: header, every cell of the map
 * row by row, "<fin>", then the starts that there are in player order as "x y,", because
 * the reader gives entry k to player k. What a file held after the eighth start is not
 * written.
 */
QByteArray mapText(const GameMap& map);

/**
 * Writes the map to path with the safe writer: the old file is replaced only by a whole
 * map, and on failure it is untouched and error says why.
 */
bool savemap(const GameMap& map, const QString& path, QString* error = nullptr);

} // namespace quintaraz
