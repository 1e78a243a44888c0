// quintaraz-map's work, each beside the floor that the toolkit or the machine sets.
// scripts/bench pairs every figure with its baseline and prints the ratios.

#include "art/tileart.h"
#include "map/maptext.h"
#include "map/terrain.h"
#include "maptool/maptool.h"
#include "maptool/outputfiles.h"
#include "render/mappicture.h"
#include "system/safewriter.h"
#include "tiled/tiledreader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace quintaraz;

namespace {

const TileArt& art()
{
    static const TileArt tiles;
    return tiles;
}

/** A map of that many columns and rows, every terrain, the eight starts on grass. */
GameMap mapOf(int columns, int rows, QRandomGenerator& random)
{
    GameMap map(columns - 1, rows - 1);
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            map.setTerrainAt(x, y, std::int16_t(random.bounded(6)));
    for (int p = 0; p < 8; ++p) {
        map.setTerrainAt(2 * p, p, terrainNumber(Terrain::Grass));
        map.starts[p] = GridPoint{std::int16_t(2 * p), std::int16_t(p)};
    }
    return map;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// --- render: the whole 100 by 100 map to PNG as the tool writes it, and the same picture
// encoded by Qt as a 32-bit PNG; each with the size of its file ---

void BM_RenderToPng(benchmark::State& state)
{
    QRandomGenerator random(1);
    const GameMap map = mapOf(100, 100, random);
    const MapPicture picture(art());
    qsizetype bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = encodePng(picture.render(map, 25)).size());
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_RenderToPng)->Unit(benchmark::kMillisecond);

void BM_EncodePng(benchmark::State& state)
{
    QRandomGenerator random(1);
    const QImage image =
        MapPicture(art()).render(mapOf(100, 100, random), 25).convertToFormat(QImage::Format_RGB32);
    qsizetype bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = png(image).size());
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

// --- check: a collection of 1,000 maps of every size, and reading them into memory ---

const QStringList& collection()
{
    static QTemporaryDir folder;
    static QStringList files;
    if (files.isEmpty()) {
        QRandomGenerator random(2);
        for (int i = 0; i < 1000; ++i) {
            const QString path = folder.filePath(QStringLiteral("mapa%1.map").arg(i));
            savemap(mapOf(random.bounded(17, 101), random.bounded(17, 101), random), path);
            files << path;
        }
    }
    return files;
}

void BM_CheckMaps(benchmark::State& state)
{
    const QStringList arguments = QStringList{"quintaraz-map", "check"} + collection();
    QByteArray said;
    for (auto _ : state) {
        said.clear();
        QTextStream out(&said);
        QTextStream err(stderr);
        benchmark::DoNotOptimize(MapTool(out, err).run(arguments));
    }
}
BENCHMARK(BM_CheckMaps)->Unit(benchmark::kMillisecond);

void BM_ReadMaps(benchmark::State& state)
{
    const QStringList& files = collection();
    for (auto _ : state) {
        for (const QString& path : files) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll().size());
        }
    }
}
BENCHMARK(BM_ReadMaps)->Unit(benchmark::kMillisecond);

// --- import: a 100 by 100 map saved by Tiled as CSV TMX, read into the map file's text (all
// but the durable write, which savemap's figure covers); and the same file read through
// QXmlStreamReader to its end ---

QTemporaryDir& tiledFolder()
{
    static QTemporaryDir folder;
    return folder;
}

QString tmxOf100x100()
{
    const QString map = tiledFolder().filePath(QStringLiteral("cien.map"));
    const QString tmx = tiledFolder().filePath(QStringLiteral("cien.tmx"));
    if (!QFile::exists(tmx)) {
        QRandomGenerator random(3);
        savemap(mapOf(100, 100, random), map);
        QByteArray out;
        QTextStream stream(&out);
        MapTool(stream, stream).run({"quintaraz-map", "export", map, tmx});
    }
    return tmx;
}

void BM_ImportTmx(benchmark::State& state)
{
    const QString tmx = tmxOf100x100();
    for (auto _ : state) {
        const auto reading = std::make_unique<TiledReading>(readTiledFile(tmx));
        benchmark::DoNotOptimize(mapText(reading->map).size());
    }
}
BENCHMARK(BM_ImportTmx)->Unit(benchmark::kMicrosecond);

void BM_ReadXml(benchmark::State& state)
{
    const QString tmx = tmxOf100x100();
    for (auto _ : state) {
        QFile file(tmx);
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&file);
        qsizetype text = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::Characters)
                text += xml.text().size();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ReadXml)->Unit(benchmark::kMicrosecond);

// --- export: a 100 by 100 map to TMX and its two tileset pictures, and the same three
// files' bytes, prepared in advance, written with the safe writer ---

void BM_Export(benchmark::State& state)
{
    tmxOf100x100();
    const QStringList arguments{"quintaraz-map", "export",
                                tiledFolder().filePath(QStringLiteral("cien.map")),
                                tiledFolder().filePath(QStringLiteral("salida/cien.tmx"))};
    QDir().mkpath(tiledFolder().filePath(QStringLiteral("salida")));
    QByteArray said;
    for (auto _ : state) {
        // A new export each time: files that are there already and the same are not written.
        state.PauseTiming();
        QDir(tiledFolder().filePath(QStringLiteral("salida"))).removeRecursively();
        QDir().mkpath(tiledFolder().filePath(QStringLiteral("salida")));
        state.ResumeTiming();
        QTextStream stream(&said);
        benchmark::DoNotOptimize(MapTool(stream, stream).run(arguments));
    }
}
BENCHMARK(BM_Export)->Unit(benchmark::kMicrosecond);

void BM_SafeWriteExportBytes(benchmark::State& state)
{
    const QString tmx = tmxOf100x100();
    const QDir folder(tiledFolder().path());
    std::vector<std::pair<QString, QByteArray>> files;
    for (const char* name : {"cien.tmx", "terrenos.png", "jugadores.png"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        file.open(QIODevice::ReadOnly);
        files.emplace_back(folder.filePath(QStringLiteral("base/") + QLatin1String(name)),
                           file.readAll());
    }
    folder.mkpath(QStringLiteral("base"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(folder.filePath(QStringLiteral("base"))).removeRecursively();
        folder.mkpath(QStringLiteral("base"));
        state.ResumeTiming();
        for (const auto& [path, bytes] : files)
            benchmark::DoNotOptimize(writeFileSafely(path, bytes, nullptr));
    }
}
BENCHMARK(BM_SafeWriteExportBytes)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
