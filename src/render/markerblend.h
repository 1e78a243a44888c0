#pragma once

#include <cstdint>

namespace quintaraz {

/**
 * One pixel of a cell under a start marker: the two block transfers of the marker, the mask
 * with MERGEPAINT (NOT source OR destination), then the marker with SRCAND (source AND
 * destination). White mask pixels keep the terrain; black ones take the marker's colours.
 */
inline std::uint32_t withMarker(std::uint32_t terrain, std::uint32_t mask, std::uint32_t marker)
{
    return ((~mask | terrain) & marker) | 0xff000000u;
}

} // namespace quintaraz
