#include "art/tileart.h"

#include <QTest>

using quintaraz::playerCount;
using quintaraz::terrainCount;
using quintaraz::TileArt;

namespace {

constexpr QRgb white = 0xffffffff;
constexpr QRgb black = 0xff000000;

} // namespace

class TestTileArt : public QObject {
    Q_OBJECT

private slots:
    void sizesAndIndexOrder();
    void markerAndMaskAgree_data();
    void markerAndMaskAgree();
    void allMarkersShareOneShape();
    void treeAndSoilStandOnGrass();
    void iconIsMadeOfTheTerrains();
    void tilesetsForTiledAreTheSameArt();

private:
    TileArt art;
};

void TestTileArt::sizesAndIndexOrder()
{
    for (int i = 0; i < terrainCount; ++i)
        QCOMPARE(art.terrain(i).size(), QSize(25, 25));
    for (int p = 0; p < playerCount; ++p)
        QCOMPARE(art.player(p).size(), QSize(50, 25));
    QCOMPARE(art.startPicture().size(), QSize(25, 25));
    QCOMPARE(art.icon().size(), QSize(50, 50));
    // Numbers that name no terrain fall back to the unknown tile, never out of bounds.
    QCOMPARE(art.terrain(-1), art.unknownTerrain());
    QCOMPARE(art.terrain(6), art.unknownTerrain());
    QVERIFY(art.unknownTerrain() != art.terrain(0));

    // Index order by colour: water is blue, rock grey, grass green.
    const QColor grass = art.terrain(0).pixelColor(12, 12);
    const QColor rock = art.terrain(1).pixelColor(3, 3);
    const QColor water = art.terrain(2).pixelColor(12, 12);
    QVERIFY(grass.green() > grass.red() && grass.green() > grass.blue());
    QVERIFY(qAbs(rock.red() - rock.blue()) < 40 && rock.red() > 90);
    QVERIFY(water.blue() > 200 && water.blue() > water.red());
}

void TestTileArt::markerAndMaskAgree_data()
{
    QTest::addColumn<int>("player");
    for (int p = 0; p < playerCount; ++p)
        QTest::addRow("player %d", p) << p;
}

void TestTileArt::markerAndMaskAgree()
{
    QFETCH(int, player);
    const QImage& strip = art.player(player);
    int black_ = 0;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 25; ++x) {
            const QRgb marker = strip.pixel(x, y);
            const QRgb mask = strip.pixel(25 + x, y);
            QVERIFY2(mask == white || mask == black, "the mask is pure black on pure white");
            if (mask == black) {
                ++black_;
                QVERIFY2(marker != white, "every marker pixel is black in the mask");
            } else {
                QCOMPARE(marker, white);
            }
        }
    }
    QVERIFY2(black_ > 300 && black_ < 480, "a bold cross");
}

void TestTileArt::allMarkersShareOneShape()
{
    for (int p = 1; p < playerCount; ++p)
        QCOMPARE(art.player(p).copy(25, 0, 25, 25), art.player(0).copy(25, 0, 25, 25));
    QCOMPARE(art.startPicture(), art.player(0).copy(0, 0, 25, 25));
    // Each player's colour is its own.
    QSet<QRgb> centres;
    for (int p = 0; p < playerCount; ++p)
        centres.insert(art.player(p).pixel(18, 6));
    QCOMPARE(centres.size(), playerCount);
}

void TestTileArt::treeAndSoilStandOnGrass()
{
    const QImage& grass = art.terrain(0);
    for (int i : {3, 4}) {
        const QImage& tile = art.terrain(i);
        for (QPoint corner : {QPoint(0, 0), QPoint(24, 0), QPoint(0, 24), QPoint(24, 24)})
            QCOMPARE(tile.pixel(corner), grass.pixel(corner));
        QVERIFY(tile != grass);
    }
}

void TestTileArt::iconIsMadeOfTheTerrains()
{
    const QImage& icon = art.icon();
    QCOMPARE(icon.copy(0, 0, 25, 25), art.terrain(0));
    QCOMPARE(icon.copy(25, 0, 25, 25), art.terrain(1));
    QCOMPARE(icon.copy(0, 25, 25, 25), art.terrain(2));
    for (int y = 25; y < 50; ++y)
        for (int x = 25; x < 50; ++x)
            QCOMPARE(icon.pixel(x, y), white);
}

void TestTileArt::tilesetsForTiledAreTheSameArt()
{
    // Every pixel as the view draws it: a terrain's own, and a marker's where its mask is
    // black, with the terrain showing through everywhere else.
    const QImage terrains = QImage::fromData(TileArt::terrainTilesetPng(), "PNG");
    const QImage players = QImage::fromData(TileArt::playerTilesetPng(), "PNG");
    QCOMPARE(terrains.size(), QSize(25 * terrainCount, 25));
    QCOMPARE(players.size(), QSize(25 * playerCount, 25));
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 25; ++x) {
            for (int t = 0; t < terrainCount; ++t)
                QCOMPARE(terrains.pixel(25 * t + x, y), art.terrain(t).pixel(x, y));
            for (int p = 0; p < playerCount; ++p) {
                const bool marked = art.player(p).pixel(25 + x, y) == black;
                QCOMPARE(players.pixel(25 * p + x, y), marked ? art.player(p).pixel(x, y) : 0u);
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestTileArt)
#include "tst_tileart.moc"
