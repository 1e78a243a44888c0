#pragma once

#include "map/mapproblems.h"
#include "tiled/tiledparts.h"

#include <vector>

namespace quintaraz {

/**
 * What keeps the cells of the terrain layer from being terrains: the empty cells, those
 * painted from another tileset and those with a tile that is no terrain, one problem for each
 * kind (and each other tileset) with how many cells and where they lie, in rectangles. The
 * terrains are the first tiles of the tileset terrains, its place in the map's list.
 */
std::vector<MapProblem> terrainCellProblems(const TiledParts& parts, const tiled::GidMapper& gids,
                                            int terrains);

} // namespace quintaraz
