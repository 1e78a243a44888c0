#pragma once

#include "map/gamemap.h"

#include <cstdint>

namespace quintaraz {

/** The active tool; the numbers are the ones the editor state has always held. */
enum class ToolMode : std::int16_t { Terrain = 0, Start = 1 };

/**
 * What the editor works on: the one map in memory, and the editor's own state beside it. The
 * map holds only starts that the editor can show and save: each inside the map, on a cell of
 * its own.
 */
struct MapDocument {
    GameMap map;
    std::int16_t selectedTerrain = 0;
    ToolMode toolMode = ToolMode::Terrain;
    // The top-left cell of the view.
    std::int16_t scrollX = 0;
    std::int16_t scrollY = 0;
    bool mapLoaded = false;

    /** Starts a new map of that size: grass everywhere, no starts. */
    void newMap(int maxwidth, int maxheight);
    /**
     * Takes a map that was read in. A start outside it is no start, and of two starts on one
     * cell the later player's keeps it: the editor shows one marker a cell. What followed the
     * eighth start is not kept.
     */
    void open(GameMap opened);

    friend bool operator==(const MapDocument&, const MapDocument&) = default;
};

} // namespace quintaraz
