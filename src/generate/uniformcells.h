#pragma once

#include "map/gamemap.h"

namespace quintaraz {

/**
 * Whether a cell shares its terrain with each of its neighbours on the map (those beyond an
 * edge do not count): what makes a map look painted in patches rather than sprinkled.
 */
bool isUniformCell(const GameMap& map, int x, int y);

/** How many cells of a map are uniform. A hand-painted map has more than half. */
int uniformCellCount(const GameMap& map);

} // namespace quintaraz
