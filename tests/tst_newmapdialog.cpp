#include "art/tileart.h"
#include "fakedialogs.h"
#include "testmaps.h"
#include "widgets/mainwindow.h"
#include "widgets/newmapdialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace quintaraz;

class TestNewMapDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowAndControls();
    void accepting_data();
    void accepting();
    void boxesHoldOnlyDigits();
    void enterAndEscapeDoNothing();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void oneDialogAtATime();
    void closingHandsNothingOver();
    void placedBesideTheMainWindow_data();
    void placedBesideTheMainWindow();
    void keysStayInTheDialog();
    void aThousandWindowsLeaveNothingBehind();

private:
    NewMapDialog* openDialog()
    {
        window->findChild<QAction*>(QStringLiteral("mnuNuevo"))->trigger();
        return window->newMapDialog();
    }
    static QLineEdit* box(QWidget* dialog, const char* name)
    {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    TileArt art;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

void TestNewMapDialog::init()
{
    window = std::make_unique<MainWindow>(art, dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestNewMapDialog::cleanup()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestNewMapDialog::windowAndControls()
{
    NewMapDialog* nuevo = openDialog();
    QVERIFY(nuevo && nuevo->isVisible());
    QCOMPARE(nuevo->objectName(), QStringLiteral("nuevo"));
    QCOMPARE(nuevo->windowTitle(), QStringLiteral("Nuevo Mapa"));
    QCOMPARE(nuevo->size(), QSize(172, 108));
    QCOMPARE(nuevo->minimumSize(), nuevo->maximumSize());
    QVERIFY(!nuevo->parentWidget()); // no owner
    const Qt::WindowFlags flags = nuevo->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool); // kept out of the taskbar
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(nuevo->grab().toImage().pixelColor(2, 104), QColor(0, 192, 192));
    QVERIFY(!nuevo->windowIcon().isNull());

    const QList<std::pair<const char*, QRect>> places{{"Label1", {16, 8, 65, 17}},
                                                      {"Label2", {16, 40, 41, 17}},
                                                      {"ancho", {64, 8, 89, 19}},
                                                      {"alto", {64, 40, 89, 19}},
                                                      {"aceptar", {40, 80, 97, 17}}};
    for (const auto& [name, geometry] : places)
        QCOMPARE(nuevo->findChild<QWidget*>(QString::fromLatin1(name))->geometry(), geometry);
    QCOMPARE(nuevo->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Ancho:"));
    QCOMPARE(nuevo->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Alto:"));
    QCOMPARE(nuevo->findChild<QPushButton*>(QStringLiteral("aceptar"))->text(),
             QStringLiteral("Aceptar"));
    QVERIFY(box(nuevo, "ancho")->text().isEmpty() && box(nuevo, "alto")->text().isEmpty());

    QVERIFY(QTest::qWaitForWindowActive(nuevo));
    QCOMPARE(QApplication::focusWidget(), box(nuevo, "ancho"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box(nuevo, "alto"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("aceptar"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box(nuevo, "ancho"));
}

void TestNewMapDialog::accepting_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("widthAfter");
    QTest::addColumn<QString>("heightAfter");
    QTest::addColumn<int>("maxwidth"); // 0: refused, the dialog stays open
    QTest::addColumn<int>("maxheight");
    QTest::addColumn<QString>("sizeCaption");
    const QString nines(30, u'9');
    const QString zeros(40, u'0');
    const QString seventeen = QStringLiteral("000000000000000000017");
    QTest::newRow("40 by 25") << "40"
                              << "25"
                              << "40"
                              << "25" << 40 << 25 << "Ancho = 40\nAlto = 25";
    QTest::newRow("0 and 15") << "0"
                              << "15"
                              << "16"
                              << "16" << 16 << 16 << "Ancho = 16\nAlto = 16";
    QTest::newRow("100 and 250") << "100"
                                 << "250"
                                 << "99"
                                 << "99" << 99 << 99 << "Ancho = 99\nAlto = 99";
    QTest::newRow("limits stay") << "16"
                                 << "99"
                                 << "16"
                                 << "99" << 16 << 99 << "Ancho = 16\nAlto = 99";
    QTest::newRow("leading zeros stay") << "0099"
                                        << "016"
                                        << "0099"
                                        << "016" << 99 << 16 << "Ancho = 99\nAlto = 16";
    QTest::newRow("thirty nines") << nines << "17"
                                  << "99"
                                  << "17" << 99 << 17 << "Ancho = 99\nAlto = 17";
    QTest::newRow("many zeros") << zeros << seventeen << "16" << seventeen << 16 << 17
                                << "Ancho = 16\nAlto = 17";
    QTest::newRow("height empty") << "40"
                                  << ""
                                  << "40"
                                  << "" << 0 << 0 << "Ancho y Alto";
    QTest::newRow("width empty") << ""
                                 << "40"
                                 << ""
                                 << "40" << 0 << 0 << "Ancho y Alto";
    QTest::newRow("both empty") << ""
                                << ""
                                << ""
                                << "" << 0 << 0 << "Ancho y Alto";
}

void TestNewMapDialog::accepting()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, widthAfter);
    QFETCH(QString, heightAfter);
    QFETCH(int, maxwidth);
    QFETCH(int, maxheight);
    QFETCH(QString, sizeCaption);
    QPointer<NewMapDialog> nuevo = openDialog();
    QTest::keyClicks(box(nuevo, "ancho"), width);
    QTest::keyClicks(box(nuevo, "alto"), height);
    QCOMPARE(box(nuevo, "ancho")->text(), width);
    QTest::mouseClick(nuevo->findChild<QPushButton*>(QStringLiteral("aceptar")), Qt::LeftButton);
    QCOMPARE(box(nuevo, "ancho")->text(), widthAfter);
    QCOMPARE(box(nuevo, "alto")->text(), heightAfter);
    QCOMPARE(int(window->editor().document().map.maxwidth), maxwidth);
    QCOMPARE(int(window->editor().document().map.maxheight), maxheight);
    QCOMPARE(window->editor().document().mapLoaded, maxwidth != 0);
    QCOMPARE(nuevo->isVisible(), maxwidth == 0);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("AltAn"))->text(), sizeCaption);
    if (maxwidth != 0) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!nuevo); // closed and destroyed
    }
}

void TestNewMapDialog::boxesHoldOnlyDigits()
{
    NewMapDialog* nuevo = openDialog();
    QLineEdit* ancho = box(nuevo, "ancho");
    QTest::keyClicks(ancho, QStringLiteral("4a-. ,+2"));
    QCOMPARE(ancho->text(), QStringLiteral("42"));
    QTest::keyClick(ancho, Qt::Key_Backspace);
    QCOMPARE(ancho->text(), QStringLiteral("4"));
    ancho->insert(QStringLiteral("x1 y\t2"));
    QCOMPARE(ancho->text(), QStringLiteral("412"));
    QCOMPARE(ancho->cursorPosition(), 3);
    ancho->setCursorPosition(1);
    ancho->insert(QStringLiteral("-9-"));
    QCOMPARE(ancho->text(), QStringLiteral("4912"));
    QCOMPARE(ancho->cursorPosition(), 2);
    // A character typed over a selection is discarded before it can replace the selection.
    ancho->selectAll();
    QTest::keyClick(ancho, Qt::Key_A);
    QTest::keyClick(ancho, Qt::Key_Minus);
    QCOMPARE(ancho->text(), QStringLiteral("4912"));
    QCOMPARE(ancho->selectedText(), QStringLiteral("4912"));
}

void TestNewMapDialog::enterAndEscapeDoNothing()
{
    NewMapDialog* nuevo = openDialog();
    QTest::keyClicks(box(nuevo, "ancho"), QStringLiteral("30"));
    QTest::keyClicks(box(nuevo, "alto"), QStringLiteral("30"));
    for (const char* name : {"ancho", "alto"}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(box(nuevo, name), key);
    }
    QVERIFY(nuevo->isVisible());
    QVERIFY(!window->editor().document().mapLoaded);
    QCOMPARE(box(nuevo, "ancho")->text(), QStringLiteral("30"));
    QCOMPARE(box(nuevo, "alto")->text(), QStringLiteral("30"));
}

void TestNewMapDialog::keysPressTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestNewMapDialog::keysPressTheFocusedButton()
{
    QFETCH(int, key);
    NewMapDialog* nuevo = openDialog();
    QTest::keyClicks(box(nuevo, "ancho"), QStringLiteral("30"));
    QTest::keyClicks(box(nuevo, "alto"), QStringLiteral("20"));
    auto* aceptar = nuevo->findChild<QPushButton*>(QStringLiteral("aceptar"));
    aceptar->setFocus();
    QTest::keyClick(aceptar, Qt::Key(key));
    QCOMPARE(int(window->editor().document().map.maxwidth), 30);
    QCOMPARE(int(window->editor().document().map.maxheight), 20);
    QVERIFY(window->editor().document().mapLoaded);
}

void TestNewMapDialog::oneDialogAtATime()
{
    NewMapDialog* first = openDialog();
    QTest::keyClicks(box(first, "ancho"), QStringLiteral("55"));
    first->move(first->pos() + QPoint(30, 40));
    const QPoint moved = first->pos();
    QCOMPARE(openDialog(), first);
    QCOMPARE(box(first, "ancho")->text(), QStringLiteral("55"));
    QCOMPARE(first->pos(), moved);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget* w) { return qobject_cast<NewMapDialog*>(w) != nullptr; }),
             1);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    NewMapDialog* second = openDialog();
    QVERIFY(second);
    QVERIFY(box(second, "ancho")->text().isEmpty());
}

void TestNewMapDialog::closingHandsNothingOver()
{
    testmaps::startNewMap(*window, 50, 50);
    const MapDocument before = window->editor().document();
    NewMapDialog* nuevo = openDialog();
    QTest::keyClicks(box(nuevo, "ancho"), QStringLiteral("20"));
    QTest::keyClicks(box(nuevo, "alto"), QStringLiteral("20"));
    nuevo->close();
    QVERIFY(window->editor().document() == before);
}

void TestNewMapDialog::placedBesideTheMainWindow_data()
{
    QTest::addColumn<int>("mainLeft"); // from the screen's left edge; -1: touching its right edge
    QTest::addColumn<bool>("beside");  // else moved left just enough to stay on the screen
    QTest::newRow("room to the right") << 0 << true;
    QTest::newRow("main window at the right edge") << -1 << false;
}

void TestNewMapDialog::placedBesideTheMainWindow()
{
    QFETCH(int, mainLeft);
    QFETCH(bool, beside);
    const QRect screen = window->screen()->availableGeometry();
    const int width = window->frameGeometry().width();
    window->move(screen.left() + (mainLeft < 0 ? screen.width() - width : mainLeft),
                 screen.top() + 50);
    QTest::qWait(20);
    const QRect frame = window->frameGeometry();
    NewMapDialog* nuevo = openDialog();
    const QRect dialog = nuevo->frameGeometry();
    QCOMPARE(dialog.top(), frame.top());
    if (beside)
        QCOMPARE(dialog.left(), frame.x() + frame.width());
    else
        QCOMPARE(dialog.right(), screen.right());
}

void TestNewMapDialog::keysStayInTheDialog()
{
    testmaps::startNewMap(*window, 60, 60);
    NewMapDialog* nuevo = openDialog();
    QVERIFY(QTest::qWaitForWindowActive(nuevo));
    QTest::keyClick(nuevo->windowHandle(), Qt::Key_Right);
    QTest::keyClick(nuevo->windowHandle(), Qt::Key_Down);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("cxcy"))->text(),
             QStringLiteral("cx (0) cy (0)"));
}

void TestNewMapDialog::aThousandWindowsLeaveNothingBehind()
{
    for (int i = 0; i < 1000; ++i) {
        QPointer<NewMapDialog> nuevo = openDialog();
        QTest::keyClicks(box(nuevo, "ancho"), QString::number(16 + i % 84));
        QTest::keyClicks(box(nuevo, "alto"), QStringLiteral("20"));
        if (i % 2)
            nuevo->accept();
        else
            nuevo->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!nuevo);
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(),
                         [](QWidget* w) { return qobject_cast<NewMapDialog*>(w) != nullptr; }));
    QCOMPARE(int(window->editor().document().map.maxwidth), 16 + 999 % 84);
}

QTEST_MAIN(TestNewMapDialog)
#include "tst_newmapdialog.moc"
