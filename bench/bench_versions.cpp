// quintaraz-map diff and merge on 100 by 100 maps, each beside the reading and writing that
// they cannot do without. scripts/bench pairs every figure with its baseline.

#include "balance/balancefigures.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "maptool/maptool.h"
#include "system/safewriter.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

using namespace quintaraz;

namespace {

/**
 * Three versions of a 100 by 100 map of every terrain, as a review sees them: the base,
 * ours with a lake of 100 cells and a start moved, theirs with a forest of 100 cells.
 */
struct Versions {
    QTemporaryDir folder;
    QString base = folder.filePath(QStringLiteral("base.map"));
    QString ours = folder.filePath(QStringLiteral("nuestro.map"));
    QString theirs = folder.filePath(QStringLiteral("suyo.map"));

    Versions()
    {
        QRandomGenerator random(5);
        const auto map = std::make_unique<GameMap>(99, 99);
        // Terrain in patches of 5 by 5 cells, as maps are painted, not cell by cell.
        std::array<std::int16_t, 20 * 20> patches;
        for (std::int16_t& patch : patches)
            patch = std::int16_t(random.bounded(6));
        for (int k = 0; k < map->cellCount(); ++k)
            map->terrain[k] = patches[k / 100 / 5 * 20 + k % 100 / 5];
        for (int g = 0; g < playerCount; ++g)
            map->starts[g] = GridPoint{std::int16_t(10 * g + 5), std::int16_t(10 * g + 5)};
        savemap(*map, base);
        const auto block = [&](int left, int top, Terrain terrain) {
            for (int y = top; y < top + 10; ++y)
                for (int x = left; x < left + 10; ++x)
                    map->terrain[map->cellIndex(x, y)] = terrainNumber(terrain);
        };
        const GameMap original = *map;
        block(20, 60, Terrain::Water);
        map->starts[0] = GridPoint{1, 1};
        savemap(*map, ours);
        *map = original;
        block(60, 20, Terrain::Tree);
        savemap(*map, theirs);
    }
};

Versions& versions()
{
    static Versions files;
    return files;
}

int runTool(const QStringList& arguments)
{
    QByteArray said;
    QTextStream out(&said);
    return MapTool(out, out).run(QStringList{QStringLiteral("quintaraz-map")} + arguments);
}

void readMap(const QString& path)
{
    benchmark::DoNotOptimize(std::make_unique<MapReading>(readMapFile(path))->outcome);
}

// --- diff of two versions, and reading both files ---

void BM_Diff(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(runTool({"diff", versions().base, versions().ours}));
}
BENCHMARK(BM_Diff)->Unit(benchmark::kMicrosecond);

void BM_ReadTwoMaps(benchmark::State& state)
{
    for (auto _ : state) {
        readMap(versions().base);
        readMap(versions().ours);
    }
}
BENCHMARK(BM_ReadTwoMaps)->Unit(benchmark::kMicrosecond);

// diff also says how the change moved the balance: both maps measured, as balance does.
void BM_ReadAndMeasureTwoMaps(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QString& path : {versions().base, versions().ours}) {
            const auto reading = std::make_unique<MapReading>(readMapFile(path));
            benchmark::DoNotOptimize(measureBalance(reading->map).verdict);
        }
    }
}
BENCHMARK(BM_ReadAndMeasureTwoMaps)->Unit(benchmark::kMicrosecond);

// --- merge of both sides into ours, and three reads and one safe write of a map ---

void BM_Merge(benchmark::State& state)
{
    // Ours is the merged map from the second time on: the same work each time.
    for (auto _ : state)
        benchmark::DoNotOptimize(
            runTool({"merge", versions().base, versions().ours, versions().theirs}));
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMicrosecond);

void BM_ThreeReadsOneWrite(benchmark::State& state)
{
    const QString copy = versions().folder.filePath(QStringLiteral("copia.map"));
    for (auto _ : state) {
        readMap(versions().base);
        readMap(versions().theirs);
        const auto reading = std::make_unique<MapReading>(readMapFile(versions().ours));
        benchmark::DoNotOptimize(writeFileSafely(copy, mapText(reading->map), nullptr));
    }
}
BENCHMARK(BM_ThreeReadsOneWrite)->Unit(benchmark::kMicrosecond);

// --- the picture of a diff, and render of one map, both to PNG files ---

void BM_DiffPicture(benchmark::State& state)
{
    const QString png = versions().folder.filePath(QStringLiteral("cambios.png"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            runTool({"diff", "--picture", png, versions().base, versions().ours}));
}
BENCHMARK(BM_DiffPicture)->Unit(benchmark::kMillisecond);

void BM_RenderOneMap(benchmark::State& state)
{
    const QString png = versions().folder.filePath(QStringLiteral("mapa.png"));
    for (auto _ : state)
        benchmark::DoNotOptimize(runTool({"render", versions().ours, png}));
}
BENCHMARK(BM_RenderOneMap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
