#pragma once

#include "map/gamemap.h"

#include <cstdint>

namespace quintaraz {

/** One cell of the map grid: its terrain and, when it is a start, whose. */
struct MapCell {
    std::int16_t terrain = 0;
    // The player whose start the cell is. It stays when the start is taken away, and then
    // means nothing.
    std::int16_t playerIndex = 0;

    bool hasStart() const { return isStart == startMark; }
    /** Makes the cell the player's start. */
    void markStart(int player)
    {
        isStart = startMark;
        playerIndex = static_cast<std::int16_t>(player);
    }
    /** Takes the start away; the player number stays. */
    void clearStart() { isStart = 0; }

    friend bool operator==(const MapCell&, const MapCell&) = default;

private:
    // The game's own code for a start; any other value means none.
    static constexpr std::int16_t startMark = -1;
    std::int16_t isStart = 0;
};

} // namespace quintaraz
