// The editor's hot paths, each beside the floor that the machine or the toolkit sets.
// scripts/bench pairs every figure with its baseline and prints the ratios.

#include "allocationcounter.h"
#include "art/tileart.h"
#include "editor/editor.h"
#include "editor/edittools.h"
#include "fakedialogs.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "widgets/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace quintaraz;

namespace {

const TileArt& art()
{
    static const TileArt tiles;
    return tiles;
}

/** A map of the given size with every terrain and each player's start in view. */
MapDocument sampleMap(int size)
{
    GameMap map(size - 1, size - 1);
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            map.setTerrainAt(x, y, std::int16_t((x * 3 + y * 5) % 6));
    for (int p = 0; p < 8; ++p) {
        map.setTerrainAt(1 + p, 2 + p, terrainNumber(Terrain::Grass));
        map.starts[p] = GridPoint{std::int16_t(1 + p), std::int16_t(2 + p)};
    }
    MapDocument document;
    document.open(std::move(map));
    return document;
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString mapFile(int size)
{
    const QString path = folder().filePath(QStringLiteral("bench%1.map").arg(size));
    if (!QFile::exists(path))
        savemap(sampleMap(size).map, path);
    return path;
}

// --- drawmap of a full view, and its floor: one frame copied with memcpy ---

void BM_Drawmap(benchmark::State& state)
{
    FakeDialogs dialogs;
    Editor editor(art(), dialogs);
    editor.document() = sampleMap(int(state.range(0)));
    for (auto _ : state) {
        editor.drawmap();
        benchmark::DoNotOptimize(editor.view().constBits());
    }
}
BENCHMARK(BM_Drawmap)->Arg(100)->Arg(17);

void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<std::uint32_t> source(400 * 400, 0xff336699u);
    std::vector<std::uint32_t> target(400 * 400);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame);

// --- an arrow key to a repainted view, and the same widget repainting alone ---

struct Window {
    FakeDialogs dialogs;
    MainWindow window{art(), dialogs};
    QWidget* mapa = nullptr;

    Window()
    {
        window.editor().document() = sampleMap(100);
        window.editor().drawmap();
        window.show();
        mapa = window.findChild<QWidget*>(QStringLiteral("mapa"));
        QCoreApplication::processEvents();
    }
};

void BM_KeyToRepaint(benchmark::State& state)
{
    Window w;
    bool right = true;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QCoreApplication::sendEvent(w.window.windowHandle(), &press);
        w.mapa->repaint();
        right = !right;
    }
}
BENCHMARK(BM_KeyToRepaint);

void BM_RepaintUnchanged(benchmark::State& state)
{
    Window w;
    for (auto _ : state)
        w.mapa->repaint();
}
BENCHMARK(BM_RepaintUnchanged);

// --- loadmap, and reading the same file and counting its commas ---

void BM_Loadmap(benchmark::State& state)
{
    const int size = int(state.range(0));
    const QString path = mapFile(size);
    MapDocument document;
    for (auto _ : state) {
        MapReading reading = readMapFile(path);
        benchmark::DoNotOptimize(reading.outcome);
        document.open(std::move(reading.map));
    }
    state.counters["cells"] = double(size * size);
}
BENCHMARK(BM_Loadmap)->Arg(100)->Arg(17);

void BM_ReadAndCountCommas(benchmark::State& state)
{
    const QString path = mapFile(100);
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(std::count(bytes.begin(), bytes.end(), ','));
    }
}
BENCHMARK(BM_ReadAndCountCommas);

// --- savemap, and a durable write of the same bytes, prepared in advance, through QSaveFile:
// every byte on the disk (fsync) before the new file takes the old one's place ---

void BM_Savemap(benchmark::State& state)
{
    const MapDocument document = sampleMap(100);
    const QString path = folder().filePath(QStringLiteral("saved.map"));
    for (auto _ : state)
        benchmark::DoNotOptimize(savemap(document.map, path));
}
BENCHMARK(BM_Savemap);

void BM_QSaveFileWrite(benchmark::State& state)
{
    const QByteArray bytes = mapText(sampleMap(100).map);
    const QString path = folder().filePath(QStringLiteral("written.map"));
    for (auto _ : state) {
        QSaveFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.flush();
        ::fsync(file.handle());
        benchmark::DoNotOptimize(file.commit());
    }
}
BENCHMARK(BM_QSaveFileWrite);

// --- allocations: every cell of a 100 by 100 map painted, one press at a time ---

void BM_PaintEveryCell(benchmark::State& state)
{
    std::size_t documentAllocations = 0;
    std::size_t repaintAllocations = 0;
    FakeDialogs dialogs;
    Editor editor(art(), dialogs);
    MapDocument& document = editor.document();
    document = sampleMap(100);
    editor.drawmap();
    for (auto _ : state) {
        for (int x = 0; x < 100; ++x) {
            for (int y = 0; y < 100; ++y) {
                selectTerrain(document, (x + y) % 6);
                const std::size_t before = allocationcounter::count();
                pressCell(document, x, y, 0);
                documentAllocations += allocationcounter::count() - before;
                const std::size_t beforeRepaint = allocationcounter::count();
                editor.drawmap();
                repaintAllocations += allocationcounter::count() - beforeRepaint;
            }
        }
    }
    state.counters["document_allocations"] = double(documentAllocations);
    state.counters["repaint_allocations"] = double(repaintAllocations);
}
BENCHMARK(BM_PaintEveryCell)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
