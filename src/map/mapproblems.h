#pragma once

#include <QStringList>

namespace quintaraz {

struct GameMap;

/**
 * What a map that opens may still hold that a game may not expect, one line each, in the
 * editor's words: a start on water or rock or outside the map, two starts on one cell,
 * terrain numbers the editor does not know, and start entries after the eighth.
 */
QStringList mapWarnings(const GameMap& map);

} // namespace quintaraz
