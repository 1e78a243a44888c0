#include "art/tileart.h"
#include "editor/mapdocument.h"
#include "render/maprenderer.h"
#include "testmaps.h"

#include <QPainter>
#include <QTest>

using quintaraz::MapDocument;
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

} // namespace

class TestMapRenderer : public QObject {
    Q_OBJECT

private slots:
    void markerOverEveryTerrain_data();
    void markerOverEveryTerrain();
    void geometryAtOrigin_data();
    void geometryAtOrigin();
    void onlyStartsShowAMarker();
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
    MapDocument document;
    document.cells(0, 0) = testmaps::cellOf(terrain, player, true);
    MapRenderer renderer(art);
    renderer.render(document);
    const QImage drawn = cellImage(renderer.image(), 0, 0);

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
    MapDocument document;
    // A different terrain on every cell, so that a misplaced tile shows.
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            document.cells(x, y).terrain = std::int16_t((x * 7 + y * 3) % 6);
    document.scrollX = document.scrollY = std::int16_t(origin);
    MapRenderer renderer(art);
    renderer.render(document);
    const QImage first = renderer.image();
    QCOMPARE(first.size(), QSize(400, 400));
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            QCOMPARE(cellImage(first, c, r),
                     art.terrain(document.cells(origin + c, origin + r).terrain));
    renderer.render(document);
    QCOMPARE(renderer.image(), first);
}

void TestMapRenderer::onlyStartsShowAMarker()
{
    // Player numbers stay in cells that are no starts, or no longer; they draw nothing.
    MapDocument document;
    document.cells(0, 0) = testmaps::cellOf(0, 3, false);
    document.cells(1, 0) = testmaps::cellOf(0, 3, true);
    document.cells(1, 0).clearStart();
    document.cells(2, 0) = testmaps::cellOf(0, 7, false);
    MapRenderer renderer(art);
    renderer.render(document);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(cellImage(renderer.image(), c, 0), art.terrain(0));
}

void TestMapRenderer::unknownNumbersAreDrawnSafely()
{
    MapDocument document;
    document.cells(0, 0).terrain = 6;
    document.cells(1, 0).terrain = -1;
    document.cells(2, 0).terrain = 32767;
    document.cells(3, 0) = testmaps::cellOf(2, 8, true);  // no marker for player 8
    document.cells(4, 0) = testmaps::cellOf(2, -1, true); // nor for -1
    MapRenderer renderer(art);
    renderer.render(document);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(cellImage(renderer.image(), c, 0), art.unknownTerrain());
    QCOMPARE(cellImage(renderer.image(), 3, 0), art.terrain(2));
    QCOMPARE(cellImage(renderer.image(), 4, 0), art.terrain(2));
    QCOMPARE(document.cells(2, 0).terrain, std::int16_t(32767));
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
