#include "art/tileart.h"
#include "fakedialogs.h"
#include "testmaps.h"
#include "widgets/mainwindow.h"

#include <QApplication>
#include <QTest>

using namespace quintaraz;

namespace {

// Whether a picture drawn at twice its size made every pixel a uniform 2 by 2 block.
QString blockDifference(const QImage& doubled, const QImage& original, QPoint at = {})
{
    for (int y = 0; y < original.height(); ++y) {
        for (int x = 0; x < original.width(); ++x) {
            const QRgb want = original.pixel(x, y) | 0xff000000u;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    if ((doubled.pixel(at.x() + 2 * x + dx, at.y() + 2 * y + dy) | 0xff000000u) !=
                        want)
                        return QStringLiteral("pixel %1,%2").arg(x).arg(y);
        }
    }
    return {};
}

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void everythingTwiceAsLargeAndSharp();
};

void TestHiDpi::everythingTwiceAsLargeAndSharp()
{
    TileArt art;
    FakeDialogs dialogs;
    MainWindow window(art, dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    testmaps::startNewMap(window, 40, 40);
    MapDocument& document = window.editor().document();
    for (int t = 0; t < 6; ++t)
        document.map.setTerrainAt(t, 0, std::int16_t(t));
    for (int p = 0; p < 8; ++p) {
        document.map.setTerrainAt(p, 2, std::int16_t(p % 6 == 1 ? 0 : p % 6));
        document.map.starts[p] = testmaps::cell(p, 2);
    }
    window.editor().drawmap();

    const QPixmap client = window.centralWidget()->grab();
    QCOMPARE(client.devicePixelRatio(), 2.0);
    QCOMPARE(client.size(), QSize(1084, 798));

    const QImage view = window.findChild<QWidget*>(QStringLiteral("mapa"))->grab().toImage();
    QCOMPARE(view.size(), QSize(800, 800));
    QCOMPARE(blockDifference(view, window.editor().view()), QString());

    for (int i = 0; i < 6; ++i) {
        const QImage picture =
            window.findChild<QWidget*>(QStringLiteral("terrimg%1").arg(i))->grab().toImage();
        QCOMPARE(picture.size(), QSize(58, 58));
        QCOMPARE(blockDifference(picture, art.terrain(i), {4, 4}), QString());
    }
    const QImage start = window.findChild<QWidget*>(QStringLiteral("start"))->grab().toImage();
    QCOMPARE(blockDifference(start, art.startPicture(), {4, 4}), QString());
}

int main(int argc, char* argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
