#include "art/tileart.h"
#include "editor/editor.h"
#include "fakedialogs.h"
#include "render/maprenderer.h"
#include "testmaps.h"

#include <QPainter>
#include <QTest>

using quintaraz::Editor;
using quintaraz::GameMap;
using quintaraz::MapRenderer;
using quintaraz::playerCount;
using quintaraz::terrainCount;
using quintaraz::TileArt;

namespace {

// The marker laid the way the platform's block transfer does it: the mask with
// NOT source OR destination, then the marker with source AND destination.
QImage layWithRasterOps(QImage square, const QImage& strip)
{
    QPainter painter(&square);
    painter.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
    painter.drawImage(0, 0, strip, 25, 0, 25, 25);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(0, 0, strip, 0, 0, 25, 25);
    return square;
}

QImage cellImage(const QImage& view, int column, int row)
{
    return view.copy(25 * column, 25 * row, 25, 25);
}

/** What the editor's view shows of a map from that origin. */
QImage viewOf(const GameMap& map, QPoint origin)
{
    static const TileArt art;
    FakeDialogs dialogs;
    Editor editor(art, dialogs);
    editor.document() = testmaps::opened(map);
    editor.document().scrollX = std::int16_t(origin.x());
    editor.document().scrollY = std::int16_t(origin.y());
    editor.drawmap();
    return editor.view().copy();
}

} // namespace

class TestMapRenderer : public QObject {
    Q_OBJECT

private slots:
    void markerOverEveryTerrain_data();
    void markerOverEveryTerrain();
    void geometryAtOrigin_data();
    void geometryAtOrigin();
    void aCellShowsOneMarker();
    void unknownNumbersAreDrawnSafely();
    void pointerToCell_data();
    void pointerToCell();

private:
    TileArt art;
};

void TestMapRenderer::markerOverEveryTerrain_data()
{
    QTest::addColumn<int>("terrain");
    QTest::addColumn<int>("player");
    for (int t = 0; t < terrainCount; ++t)
        for (int p = 0; p < playerCount; ++p)
            QTest::addRow("terrain %d player %d", t, p) << t << p;
}

void TestMapRenderer::markerOverEveryTerrain()
{
    QFETCH(int, terrain);
    QFETCH(int, player);
    GameMap map(16, 16);
    map.setTerrainAt(0, 0, std::int16_t(terrain));
    map.starts[player] = testmaps::cell(0, 0);
    const QImage drawn = cellImage(viewOf(map, {0, 0}), 0, 0);

    const QImage& tile = art.terrain(terrain);
    const QImage& strip = art.player(player);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 25; ++x) {
            const bool inCross = strip.pixel(25 + x, y) == 0xff000000;
            QCOMPARE(drawn.pixel(x, y), inCross ? strip.pixel(x, y) : tile.pixel(x, y));
        }
    }
    // The same pixels as Qt's own raster operations give, and laying twice changes nothing.
    QCOMPARE(drawn, layWithRasterOps(tile, strip));
    QCOMPARE(layWithRasterOps(drawn, strip), drawn);
}

void TestMapRenderer::geometryAtOrigin_data()
{
    QTest::addColumn<int>("origin");
    QTest::newRow("top left") << 0;
    QTest::newRow("bottom right") << 84;
}

void TestMapRenderer::geometryAtOrigin()
{
    QFETCH(int, origin);
    GameMap map(99, 99);
    // A different terrain on every cell, so that a misplaced tile shows.
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            map.setTerrainAt(x, y, std::int16_t((x * 7 + y * 3) % 6));
    FakeDialogs dialogs;
    Editor editor(art, dialogs);
    editor.document() = testmaps::opened(map);
    editor.document().scrollX = editor.document().scrollY = std::int16_t(origin);
    editor.drawmap();
    const QImage first = editor.view().copy();
    QCOMPARE(first.size(), QSize(400, 400));
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            QCOMPARE(cellImage(first, c, r), art.terrain(map.terrainAt(origin + c, origin + r)));
    editor.drawmap();
    QCOMPARE(editor.view(), first);
}

void TestMapRenderer::aCellShowsOneMarker()
{
    // Two players on one cell, as a file may hold them: the later one's marker, as the
    // editor keeps it; the cells around it show their terrain alone.
    GameMap map(16, 16);
    map.starts[3] = testmaps::cell(1, 0);
    map.starts[7] = testmaps::cell(1, 0);
    const QImage view = viewOf(map, {0, 0});
    QCOMPARE(cellImage(view, 1, 0), layWithRasterOps(art.terrain(0), art.player(7)));
    QCOMPARE(cellImage(view, 0, 0), art.terrain(0));
    QCOMPARE(cellImage(view, 2, 0), art.terrain(0));
}

void TestMapRenderer::unknownNumbersAreDrawnSafely()
{
    GameMap map(16, 16);
    map.setTerrainAt(0, 0, 6);
    map.setTerrainAt(1, 0, -1);
    map.setTerrainAt(2, 0, 32767);
    map.setTerrainAt(3, 0, -32768);
    map.starts[2] = testmaps::cell(3, 0);
    const QImage view = viewOf(map, {0, 0});
    for (int c = 0; c < 3; ++c)
        QCOMPARE(cellImage(view, c, 0), art.unknownTerrain());
    QCOMPARE(cellImage(view, 3, 0), layWithRasterOps(art.unknownTerrain(), art.player(2)));
    QCOMPARE(map.terrainAt(2, 0), std::int16_t(32767));
}

void TestMapRenderer::pointerToCell_data()
{
    QTest::addColumn<QPointF>("pixel");
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("0,0") << QPointF(0, 0) << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("24,24") << QPointF(24, 24) << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("24.99") << QPointF(24.99, 0) << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("25,0") << QPointF(25, 0) << QPoint(0, 0) << QPoint(1, 0);
    QTest::newRow("0,49") << QPointF(0, 49) << QPoint(0, 0) << QPoint(0, 1);
    QTest::newRow("375,375") << QPointF(375, 375) << QPoint(0, 0) << QPoint(15, 15);
    QTest::newRow("399,399") << QPointF(399, 399) << QPoint(0, 0) << QPoint(15, 15);
    QTest::newRow("375,375 at 3,7") << QPointF(375, 375) << QPoint(3, 7) << QPoint(18, 22);
    QTest::newRow("-0.04 floors to -1") << QPointF(-0.04, 0) << QPoint(0, 0) << QPoint(-1, 0);
    QTest::newRow("-1,-30") << QPointF(-1, -30) << QPoint(5, 5) << QPoint(4, 3);
    QTest::newRow("at 84,84") << QPointF(399, 0) << QPoint(84, 84) << QPoint(99, 84);
}

void TestMapRenderer::pointerToCell()
{
    QFETCH(QPointF, pixel);
    QFETCH(QPoint, origin);
    QFETCH(QPoint, cell);
    QCOMPARE(MapRenderer::cellAt(pixel, origin.x(), origin.y()), cell);
}

QTEST_GUILESS_MAIN(TestMapRenderer)
#include "tst_maprenderer.moc"
