#pragma once

#include <cstdint>

namespace quintaraz {

/** One cell of the map grid: its terrain and, when it is a start, whose. */
struct MapCell {
    std::int16_t terrain = 0;
    std::int16_t playerIndex = 0;
    // -1 marks a start; any other value means none. playerIndex keeps its last
    // player after a start is taken away and then means nothing.
    std::int16_t isStart = 0;

    bool startMark() const { return isStart == -1; }

    friend bool operator==(const MapCell&, const MapCell&) = default;
};

} // namespace quintaraz
