#include "editor/edittools.h"
#include "referencemodel.h"
#include "testmaps.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quintaraz;

namespace {

MapDocument newMap(int width, int height)
{
    MapDocument document;
    document.newMap(width, height);
    return document;
}

} // namespace

class TestEditTools : public QObject {
    Q_OBJECT

private slots:
    void chooserText_data();
    void chooserText();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void paintingAndToolChoice();
    void placingAStartTwice();
    void takingOverAStart();
    void randomPressesFollowTheModel();
};

void TestEditTools::chooserText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("player"); // -1: none
    QTest::newRow("first") << "1" << 0;
    QTest::newRow("last") << "8" << 7;
    QTest::newRow("nine") << "9" << -1;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("leading zero") << "01" << -1;
    QTest::newRow("blank") << " 1" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("word") << "uno" << -1;
}

void TestEditTools::chooserText()
{
    QFETCH(QString, text);
    QFETCH(int, player);
    QCOMPARE(playerForChooserText(text).value_or(-1), player);
}

void TestEditTools::refusalsChangeNothing_data()
{
    QTest::addColumn<bool>("startTool");
    QTest::addColumn<int>("terrain");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("player");
    QTest::newRow("paint over a start") << false << 0 << QPoint(5, 5) << 0;
    QTest::newRow("start on rock") << true << 1 << QPoint(6, 6) << 2;
    QTest::newRow("start on water") << true << 2 << QPoint(6, 6) << 2;
    QTest::newRow("start for no player") << true << 0 << QPoint(6, 6) << -1;
    QTest::newRow("paint beyond the map") << false << 0 << QPoint(17, 3) << 0;
    QTest::newRow("start beyond the map") << true << 0 << QPoint(3, 17) << 1;
    QTest::newRow("left of the map") << false << 0 << QPoint(-1, 3) << 0;
}

void TestEditTools::refusalsChangeNothing()
{
    QFETCH(bool, startTool);
    QFETCH(int, terrain);
    QFETCH(QPoint, cell);
    QFETCH(int, player);
    MapDocument document = newMap(16, 16);
    document.map.starts[4] = testmaps::cell(5, 5);
    document.map.setTerrainAt(6, 6, std::int16_t(terrain));
    selectTerrain(document, 3);
    if (startTool)
        selectStartTool(document);
    const MapDocument before = document;
    QVERIFY(!pressCell(document, cell.x(), cell.y(), player));
    QVERIFY(document == before);
}

void TestEditTools::paintingAndToolChoice()
{
    MapDocument document;
    QVERIFY(!pressCell(document, 0, 0, 0)); // no map yet
    document = newMap(20, 20);
    // After load the terrain tool paints terrain 0: a repaint, nothing else.
    document.map.setTerrainAt(1, 1, 4);
    QVERIFY(pressCell(document, 1, 1, 0));
    QCOMPARE(document.map.terrainAt(1, 1), std::int16_t(0));

    selectTerrain(document, 2);
    selectStartTool(document);
    QCOMPARE(document.selectedTerrain, std::int16_t(2)); // the start tool keeps the terrain
    QVERIFY(pressCell(document, 3, 3, 0));
    QCOMPARE(document.map.startAt(testmaps::cell(3, 3)), 0);
    // A cell that a start has left no longer holds it back from the brush.
    QVERIFY(pressCell(document, 4, 4, 0));
    selectTerrain(document, 5);
    QVERIFY(pressCell(document, 3, 3, 0));
    QCOMPARE(document.map.terrainAt(3, 3), std::int16_t(5));
    QVERIFY(!pressCell(document, 4, 4, 0));
    QCOMPARE(document.map.terrainAt(4, 4), std::int16_t(0));
    QCOMPARE(document.toolMode, ToolMode::Terrain);
}

void TestEditTools::placingAStartTwice()
{
    MapDocument document = newMap(30, 30);
    selectStartTool(document);
    QVERIFY(pressCell(document, 5, 5, 3));
    QCOMPARE(document.map.starts[3], testmaps::cell(5, 5));
    QVERIFY(pressCell(document, 9, 2, 3));
    QCOMPARE(document.map.starts[3], testmaps::cell(9, 2));
    QCOMPARE(document.map.startAt(testmaps::cell(5, 5)), -1);
    // The same cell again leaves the grid as it was, and repaints.
    const MapDocument before = document;
    QVERIFY(pressCell(document, 9, 2, 3));
    QVERIFY(document == before);
}

void TestEditTools::takingOverAStart()
{
    MapDocument document = newMap(16, 16);
    selectStartTool(document);
    QVERIFY(pressCell(document, 2, 2, 1));
    QVERIFY(pressCell(document, 2, 2, 6));
    QCOMPARE(document.map.startAt(testmaps::cell(2, 2)), 6);
    QVERIFY(!document.map.starts[1]); // player 2 must be placed again before a save
    QCOMPARE(document.map.starts[6], testmaps::cell(2, 2));
}

void TestEditTools::randomPressesFollowTheModel()
{
    QRandomGenerator random(20261207);
    MapDocument document;
    referencemodel::Model model;
    for (int step = 0; step < 20000; ++step) {
        const int action = random.bounded(100);
        if (action < 2 || !document.mapLoaded) {
            const int width = random.bounded(16, 100);
            const int height = random.bounded(16, 100);
            document.newMap(width, height);
            model.newMap(width, height);
        } else if (action < 10) {
            const int terrain = random.bounded(6);
            selectTerrain(document, terrain);
            model.selected = terrain;
            model.startTool = false;
        } else if (action < 15) {
            selectStartTool(document);
            model.startTool = true;
        } else {
            const QPoint cell(random.bounded(-1, 100), random.bounded(-1, 100));
            const int player = random.bounded(-1, 8);
            pressCell(document, cell.x(), cell.y(), player);
            model.pressCell(cell, player);
        }
        if (const QString d = referencemodel::difference(document, model); !d.isEmpty())
            QFAIL(qPrintable(QStringLiteral("step %1: %2").arg(step).arg(d)));
    }
}

QTEST_GUILESS_MAIN(TestEditTools)
#include "tst_edittools.moc"
