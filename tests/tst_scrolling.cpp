#include "editor/scrolling.h"

#include <QTest>

using namespace quintaraz;

class TestScrolling : public QObject {
    Q_OBJECT

private slots:
    void arrowSequences_data();
    void arrowSequences();
    void clampOrderAndOtherKeys();
    void captions();
};

void TestScrolling::arrowSequences_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("columns");
    const int r = Qt::Key_Right;
    const int l = Qt::Key_Left;
    QTest::newRow("width 16") << 16 << QList<int>{r, r, l} << QList<int>{1, 1, 0};
    QList<int> right(45, r);
    QList<int> columns;
    for (int c = 2; c <= 84; c += 2)
        columns.append(c);
    columns << 84 << 84 << 84;
    QTest::newRow("width 99") << 99 << right << columns;
    QList<int> there(42, r);
    QList<int> back;
    for (int c = 2; c <= 82; c += 2)
        back.append(c);
    back.append(83);
    QList<int> keys = there + QList<int>(43, l);
    for (int c = 81; c >= 1; c -= 2)
        back.append(c);
    back << 0 << 0;
    QTest::newRow("width 98") << 98 << keys << back;
}

void TestScrolling::arrowSequences()
{
    QFETCH(int, width);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, columns);
    QCOMPARE(keys.size(), columns.size());
    MapDocument document;
    document.newMap(width, width);
    for (int i = 0; i < keys.size(); ++i) {
        scrollByKey(document, keys[i]);
        QCOMPARE(int(document.scrollX), columns[i]);
        QCOMPARE(int(document.scrollY), 0);
    }
}

void TestScrolling::clampOrderAndOtherKeys()
{
    MapDocument document;
    document.newMap(99, 99);
    document.scrollX = document.scrollY = 84;
    // A smaller map is now present: any key clamps the origin into it.
    document.newMap(16, 16);
    scrollByKey(document, Qt::Key_A);
    QCOMPARE(QPoint(document.scrollX, document.scrollY), QPoint(1, 1));
    scrollByKey(document, Qt::Key_Up);
    scrollByKey(document, Qt::Key_Up);
    QCOMPARE(QPoint(document.scrollX, document.scrollY), QPoint(1, 0));
    scrollByKey(document, Qt::Key_Down);
    QCOMPARE(QPoint(document.scrollX, document.scrollY), QPoint(1, 1));
    // Before any map both maxima lie below the view's: the lower bound wins.
    MapDocument none;
    none.scrollX = 5;
    QVERIFY(clampScroll(none));
    QCOMPARE(QPoint(none.scrollX, none.scrollY), QPoint(0, 0));
    QVERIFY(!clampScroll(none));
}

void TestScrolling::captions()
{
    MapDocument document;
    document.scrollX = 4;
    QCOMPARE(scrollCaption(document), QStringLiteral("cx (4) cy (0)"));
    QCOMPARE(pointerCaption({12, 7}), QStringLiteral("Mouse: (12)(7)"));
    QCOMPARE(pointerCaption({-1, 0}), QStringLiteral("Mouse: (-1)(0)"));
}

QTEST_GUILESS_MAIN(TestScrolling)
#include "tst_scrolling.moc"
