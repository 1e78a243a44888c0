// quintaraz-map's work, each beside the floor that the toolkit or the machine sets.
// scripts/bench pairs every figure with its baseline and prints the ratios.

#include "art/tileart.h"
#include "document/mapfile.h"
#include "document/terrain.h"
#include "tool/maptool.h"
#include "view/mappicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quintaraz;

namespace {

const TileArt& art()
{
    static const TileArt tiles;
    return tiles;
}

/** A map of that many columns and rows, every terrain, the eight starts on grass. */
MapDocument mapOf(int columns, int rows, QRandomGenerator& random)
{
    MapDocument document;
    document.maxwidth = std::int16_t(columns - 1);
    document.maxheight = std::int16_t(rows - 1);
    document.clearForNewMap();
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            document.cells(x, y).terrain = std::int16_t(random.bounded(6));
    for (int p = 0; p < 8; ++p) {
        document.cells(2 * p, p).terrain = terrainNumber(Terrain::Grass);
        document.cells(2 * p, p).markStart(p);
    }
    document.syncStartPlaced();
    return document;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// --- render: the whole 100 by 100 map to PNG, and encoding the same picture to PNG ---

void BM_RenderToPng(benchmark::State& state)
{
    QRandomGenerator random(1);
    const MapDocument document = mapOf(100, 100, random);
    const MapPicture picture(art());
    for (auto _ : state)
        benchmark::DoNotOptimize(png(picture.render(document, 25)).size());
}
BENCHMARK(BM_RenderToPng)->Unit(benchmark::kMillisecond);

void BM_EncodePng(benchmark::State& state)
{
    QRandomGenerator random(1);
    const QImage image = MapPicture(art()).render(mapOf(100, 100, random), 25);
    for (auto _ : state)
        benchmark::DoNotOptimize(png(image).size());
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
