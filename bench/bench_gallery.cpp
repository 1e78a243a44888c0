// quintaraz-map gallery beside the drawing it cannot avoid: a gallery of 100 maps of 100 by
// 100 cells made in one process, and render and balance --picture run on the same maps in one
// process; then a second run with one map changed, beside the first.

#include "map/mapreading.h"
#include "map/maptext.h"
#include "maptool/gallerysite.h"
#include "maptool/gallerysources.h"
#include "maptool/maptool.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace quintaraz;

namespace {

constexpr int mapCount = 100;

/** A 100 by 100 map painted in patches of every terrain, the eight starts on grass. */
GameMap patchedMap(QRandomGenerator& random)
{
    GameMap map(99, 99);
    for (int patch = 0; patch < 60; ++patch) {
        const int left = random.bounded(100);
        const int top = random.bounded(100);
        const auto terrain = std::int16_t(random.bounded(6));
        for (int y = top; y < std::min(100, top + random.bounded(3, 20)); ++y)
            for (int x = left; x < std::min(100, left + random.bounded(3, 20)); ++x)
                map.setTerrainAt(x, y, terrain);
    }
    for (int p = 0; p < 8; ++p) {
        const GridPoint start{std::int16_t(10 + (p % 4) * 25), std::int16_t(p < 4 ? 15 : 85)};
        map.setTerrainAt(start.x, start.y, terrainNumber(Terrain::Grass));
        map.starts[p] = start;
    }
    return map;
}

/** The collection: 100 map files in a folder of their own, made once. */
const QString& collection()
{
    static QTemporaryDir folder;
    static QString path;
    if (path.isEmpty()) {
        QRandomGenerator random(7);
        for (int k = 0; k < mapCount; ++k)
            savemap(patchedMap(random),
                    folder.filePath(QStringLiteral("mapa%1.map").arg(k, 3, 10, QLatin1Char('0'))));
        path = folder.path();
    }
    return path;
}

/** The CPU time of the whole process so far, every thread's, in milliseconds. */
double processCpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

GalleryRun makeGallery(const QString& site)
{
    GallerySettings settings;
    settings.version = QStringLiteral("bench");
    return GallerySite(site, settings).build(gallerySources({collection()}));
}

// Each reports the CPU time of all its threads too: the gallery encodes on two threads.

void BM_GalleryFirstRun(benchmark::State& state)
{
    collection();
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir output;
        const double before = processCpu();
        state.ResumeTiming();
        const GalleryRun run = makeGallery(output.filePath(QStringLiteral("galeria")));
        if (!run.written || run.drawn.size() != mapCount)
            state.SkipWithError("the gallery was not made");
        state.PauseTiming();
        cpu += processCpu() - before;
        output.remove(); // outside the time, as the baseline's files are
        state.ResumeTiming();
    }
    state.counters["process_cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_GalleryFirstRun)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_RenderAndBalancePicture(benchmark::State& state)
{
    const QStringList files = QDir(collection()).entryList({QStringLiteral("*.map")});
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir output;
        const double before = processCpu();
        state.ResumeTiming();
        for (const QString& name : files) {
            const QString map = QDir(collection()).filePath(name);
            QByteArray said;
            QTextStream out(&said);
            MapTool(out, out).run({QStringLiteral("quintaraz-map"), QStringLiteral("render"), map,
                                   output.filePath(name + QStringLiteral(".png"))});
            MapTool(out, out).run({QStringLiteral("quintaraz-map"), QStringLiteral("balance"),
                                   QStringLiteral("--picture"),
                                   output.filePath(name + QStringLiteral("-b.png")), map});
        }
        state.PauseTiming();
        cpu += processCpu() - before;
        output.remove();
        state.ResumeTiming();
    }
    state.counters["process_cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_RenderAndBalancePicture)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_GallerySecondRun(benchmark::State& state)
{
    QTemporaryDir output;
    const QString site = output.filePath(QStringLiteral("galeria"));
    makeGallery(site);
    const QString changed = QDir(collection()).filePath(QStringLiteral("mapa050.map"));
    for (auto _ : state) {
        state.PauseTiming();
        GameMap map = readMapFile(changed).map;
        map.setTerrainAt(50, 50, std::int16_t((map.terrainAt(50, 50) + 1) % terrainCount));
        savemap(map, changed);
        state.ResumeTiming();
        const GalleryRun run = makeGallery(site);
        if (!run.written || run.drawn.size() != 1)
            state.SkipWithError("the gallery did not draw the one map changed");
    }
}
BENCHMARK(BM_GallerySecondRun)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
