// The map generator beside balance, which it answers to: a 100 by 100 map generated as the
// command does by default, and 100 balance evaluations of such a map. scripts/bench prints the
// ratio, how many candidates a map takes, and how the time grows with the map's size.

#include "balance/balancefigures.h"
#include "generate/mapgenerator.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace quintaraz;

namespace {

/** The options a run of generate takes with --size and --seed only. */
GeneratorOptions optionsFor(int columns, int rows, std::uint64_t seed)
{
    GeneratorOptions options;
    options.columns = columns;
    options.rows = rows;
    options.symmetry = automaticSymmetry(columns, rows);
    options.seed = seed;
    return options;
}

/**
 * Maps of each size as generate makes them, seed after seed: one seed may take more
 * candidates than another. The counters give the candidates a map took, on average.
 */
void BM_Generate(benchmark::State& state)
{
    const int columns = int(state.range(0));
    const int rows = int(state.range(1));
    std::uint64_t seed = 1;
    std::int64_t candidates = 0;
    std::int64_t maps = 0;
    for (auto _ : state) {
        const GeneratedMap generated = generateMap(optionsFor(columns, rows, seed++ % 16));
        candidates += generated.candidates;
        ++maps;
        benchmark::DoNotOptimize(generated.map.terrain.data());
    }
    state.counters["candidates"] = double(candidates) / double(maps);
    state.counters["cells"] = columns * rows;
}
BENCHMARK(BM_Generate)
    ->Args({100, 100})
    ->Args({50, 50})
    ->Args({60, 40})
    ->Args({100, 45})
    ->Args({25, 25})
    ->Unit(benchmark::kMicrosecond);

/** Generated the same way, but both mirrors on the square: the layout search of rectangles. */
void BM_GenerateQuadrants(benchmark::State& state)
{
    std::uint64_t seed = 1;
    for (auto _ : state) {
        GeneratorOptions options = optionsFor(100, 100, seed++ % 16);
        options.symmetry = GeneratedSymmetry::Quadrants;
        benchmark::DoNotOptimize(generateMap(options).map.terrain.data());
    }
}
BENCHMARK(BM_GenerateQuadrants)->Unit(benchmark::kMicrosecond);

/** The baseline: balance measuring generated 100 by 100 maps, 100 times, the same seeds. */
void BM_HundredBalanceEvaluations(benchmark::State& state)
{
    static const std::vector<GameMap> maps = [] {
        std::vector<GameMap> generated;
        for (std::uint64_t seed = 0; seed < 16; ++seed)
            generated.push_back(generateMap(optionsFor(100, 100, seed)).map);
        return generated;
    }();
    std::size_t next = 0;
    for (auto _ : state) {
        const GameMap& map = maps[next++ % maps.size()];
        for (int evaluation = 0; evaluation < 100; ++evaluation)
            benchmark::DoNotOptimize(measureBalance(map).disputedCells);
    }
}
BENCHMARK(BM_HundredBalanceEvaluations)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
