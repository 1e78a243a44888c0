#pragma once

#include "map/gamemap.h"

namespace quintaraz {

/**
 * A new map of that many columns and rows (each 17 to 100), for a map maker to start from:
 * every cell grass, and each player's start on a cell of its own, spread over the map in
 * three rows of three, two and three starts, as far from the edges as the map allows.
 */
GameMap newMapWithStarts(int columns, int rows);

} // namespace quintaraz
