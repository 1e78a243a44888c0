#pragma once

#include "map/mapreading.h"
#include "map/maptext.h"
#include "testmaps.h"

#include <functional>

namespace mapedits {

using namespace quintaraz;

/** The example map, 17 by 17 grass with starts (2,3) (15,3) (8,8) ..., changed by edit. */
inline QByteArray example(const std::function<void(GameMap&)>& edit = {})
{
    MapReading reading = readMapText(testmaps::exampleText().toStdString());
    if (edit)
        edit(reading.map);
    return mapText(reading.map);
}

inline std::function<void(GameMap&)> paint(int left, int top, int right, int bottom,
                                           Terrain terrain)
{
    return [=](GameMap& map) {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                map.terrain[map.cellIndex(x, y)] = terrainNumber(terrain);
    };
}

inline std::function<void(GameMap&)> moveStart(int player, int x, int y)
{
    return [=](GameMap& map) { map.starts[player] = GridPoint{std::int16_t(x), std::int16_t(y)}; };
}

/** The example with all of those edits made. */
template <typename... Edits> QByteArray exampleWith(Edits... edits)
{
    return example([=](GameMap& map) { (edits(map), ...); });
}

} // namespace mapedits
