// How fair a map is, beside the floor that its definitions set: the figures of a 100 by 100
// map need eight walks from the starts, so one plain breadth-first search over the same map
// is the baseline. scripts/bench prints the ratio.

#include "balance/balancefigures.h"
#include "map/gamemap.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <vector>

using namespace quintaraz;

namespace {

/**
 * A 100 by 100 map of every terrain, with the starts spread over it on grass: painted in
 * patches of 5 by 5 cells as maps are (argument 0), or cell by cell at random (argument 1),
 * which makes the most small passages.
 */
const GameMap& benchmarkMap(int kind)
{
    static std::array<std::unique_ptr<GameMap>, 2> maps;
    std::unique_ptr<GameMap>& map = maps[std::size_t(kind)];
    if (!map) {
        QRandomGenerator random(quint32(7 + kind));
        map = std::make_unique<GameMap>(99, 99);
        std::array<std::int16_t, 20 * 20> patches;
        for (std::int16_t& patch : patches)
            patch = std::int16_t(random.bounded(6));
        for (int k = 0; k < map->cellCount(); ++k)
            map->terrain[k] = kind == 0 ? patches[k / 100 / 5 * 20 + k % 100 / 5]
                                        : std::int16_t(random.bounded(6));
        for (int g = 0; g < playerCount; ++g) {
            const GridPoint start{std::int16_t(12 + 25 * (g % 4)), std::int16_t(25 + 50 * (g / 4))};
            map->starts[g] = start;
            map->terrain[map->cellIndex(start.x, start.y)] = terrainNumber(Terrain::Grass);
        }
    }
    return *map;
}

void BM_BalanceFigures(benchmark::State& state)
{
    const GameMap& map = benchmarkMap(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(measureBalance(map).disputedCells);
}
BENCHMARK(BM_BalanceFigures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

/**
 * The baseline: one breadth-first search from a start over the cells that are not rock,
 * water or unknown, as anyone would write it: a distance a cell, a queue, each of the four
 * neighbours checked against the map's edges. Each time from the next start, as the figures
 * search from eight: the same search again and again would have the processor learn its
 * branches by heart.
 */
void BM_PlainBreadthFirstSearch(benchmark::State& state)
{
    const GameMap& map = benchmarkMap(int(state.range(0)));
    int player = 0;
    for (auto _ : state) {
        const GridPoint start = *map.starts[std::size_t(player++ % playerCount)];
        std::vector<int> distance(std::size_t(map.cellCount()), -1);
        std::deque<GridPoint> queue{start};
        distance[std::size_t(map.cellIndex(start.x, start.y))] = 0;
        while (!queue.empty()) {
            const GridPoint cell = queue.front();
            queue.pop_front();
            const int here = distance[std::size_t(map.cellIndex(cell.x, cell.y))];
            for (const auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const GridPoint next{std::int16_t(cell.x + dx), std::int16_t(cell.y + dy)};
                if (!map.contains(next))
                    continue;
                const int k = map.cellIndex(next.x, next.y);
                const int terrain = map.terrain[std::size_t(k)];
                if (distance[std::size_t(k)] >= 0 || !isTerrain(terrain) ||
                    terrain == terrainNumber(Terrain::Rock) ||
                    terrain == terrainNumber(Terrain::Water))
                    continue;
                distance[std::size_t(k)] = here + 1;
                queue.push_back(next);
            }
        }
        benchmark::DoNotOptimize(distance.data());
    }
}
BENCHMARK(BM_PlainBreadthFirstSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
