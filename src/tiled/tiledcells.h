#pragma once

#include "tiled/tiledparts.h"

#include <QStringList>

namespace quintaraz {

/**
 * What keeps the cells of the terrain layer from being terrains: the empty cells, those
 * painted from another tileset and those with a tile that is no terrain, one line for each
 * kind with how many cells, where they lie (in rectangles) and what to do in Tiled. The
 * terrains are the tile numbers from terrains' first up to terrainsEnd.
 */
QStringList terrainCellProblems(const TiledParts& parts, const TilesetEntry& terrains,
                                qint64 terrainsEnd);

} // namespace quintaraz
