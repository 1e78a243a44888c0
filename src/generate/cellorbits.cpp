#include "generate/cellorbits.h"

#include <algorithm>

namespace quintaraz {

CellOrbits::CellOrbits(const GameMap& map, const std::vector<Symmetry>& generators)
    : orbits_(std::size_t(map.cellCount()) * largest)
    , sizes_(std::size_t(map.cellCount()))
{
    for (int y = 0; y < map.rows(); ++y) {
        for (int x = 0; x < map.columns(); ++x) {
            const int cell = map.cellIndex(x, y);
            std::int16_t* orbit = &orbits_[std::size_t(cell) * largest];
            int size = 1;
            orbit[0] = std::int16_t(cell);
            // The closure under the generators: every image of every cell found so far.
            for (int k = 0; k < size; ++k) {
                const GridPoint at{std::int16_t(orbit[k] % map.columns()),
                                   std::int16_t(orbit[k] / map.columns())};
                for (const Symmetry symmetry : generators) {
                    const GridPoint image = transformed(symmetry, map, at);
                    const auto index = std::int16_t(map.cellIndex(image.x, image.y));
                    if (std::find(orbit, orbit + size, index) == orbit + size)
                        orbit[size++] = index;
                }
            }
            sizes_[std::size_t(cell)] = std::uint8_t(size);
            largestSize_ = std::max(largestSize_, size);
        }
    }
}

} // namespace quintaraz
