#include "art/tileart.h"
#include "fakedialogs.h"
#include "testmaps.h"
#include "widgets/applicationsetup.h"
#include "widgets/mainwindow.h"
#include "widgets/mapview.h"
#include "widgets/picturebox.h"
#include "widgets/qtuserdialogs.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

using namespace quintaraz;

namespace {

template <typename T = QWidget> T* child(QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

QAction* menuItem(QWidget& window, const char* name)
{
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

// Answers the next modal dialog from inside its own event loop.
template <typename Dialog, typename Answer> void whenShown(Answer answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(dialog);
    });
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void applicationNamesAndSpanishToolkitTexts();
    void windowProperties();
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void tabOrderAndFirstFocus();
    void menuHasFourPlainItems();
    void leavingAsks();
    void keyPreviewSeesEveryKeyOnce();
    void everyButtonPressesAlike();
    void movingWithAButtonHeldEditsNothing();
    void paletteChoiceShowsNothing();
    void focusedPicturesAnswerSpaceAndEnter();
    void viewShowsTheComposedImage();
    void captionsLookAsLabelsDo();
    void messageBoxesAreSpanish();
    void mapsThatDoNotOpenSayWhy_data();
    void mapsThatDoNotOpenSayWhy();
    void screenReadersCanReadEveryControl();
    void fileDialogRemembersTheLastName();

private:
    void newMap(int width, int height) { testmaps::startNewMap(*window, width, height); }

    TileArt art;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

void TestMainWindow::init()
{
    dialogs = FakeDialogs();
    window = std::make_unique<MainWindow>(art, dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestMainWindow::cleanup()
{
    dialogs.answerYes = true;
    window.reset();
}

void TestMainWindow::applicationNamesAndSpanishToolkitTexts()
{
    setUpApplication(*qApp, art);
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quintaraz Editor"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
    QVERIFY(!QApplication::windowIcon().isNull());
    // The toolkit's own dialogs speak Spanish too.
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("Abrir"));
}

void TestMainWindow::windowProperties()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Quintaraz Editor"));
    QWidget* client = window->centralWidget();
    QCOMPARE(client->size(), QSize(542, 399));
    const QImage shot = client->grab().toImage();
    QCOMPARE(shot.pixelColor(530, 390), QColor(0, 128, 128));
    QCOMPARE(shot.pixelColor(410, 5), QColor(0, 128, 128));
    // Resizing shows more teal and moves nothing.
    window->resize(800, 600);
    QTest::qWait(10);
    QCOMPARE(child(*window, "jugador")->geometry(), QRect(456, 272, 57, 21));
    QCOMPARE(client->grab().toImage().pixelColor(700, 500), QColor(0, 128, 128));
}

void TestMainWindow::controlsAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("mapa") << "mapa" << QRect(0, 0, 400, 400) << "";
    QTest::newRow("terrimg0") << "terrimg0" << QRect(424, 128, 29, 29) << "";
    QTest::newRow("terrimg1") << "terrimg1" << QRect(488, 160, 29, 29) << "";
    QTest::newRow("terrimg2") << "terrimg2" << QRect(488, 128, 29, 29) << "";
    QTest::newRow("terrimg3") << "terrimg3" << QRect(424, 160, 29, 29) << "";
    QTest::newRow("terrimg4") << "terrimg4" << QRect(456, 160, 29, 29) << "";
    QTest::newRow("terrimg5") << "terrimg5" << QRect(456, 128, 29, 29) << "";
    QTest::newRow("start") << "start" << QRect(456, 232, 29, 29) << "";
    QTest::newRow("Label1") << "Label1" << QRect(456, 104, 41, 17) << "Terreno";
    QTest::newRow("xy") << "xy" << QRect(432, 80, 89, 25) << "Mouse: (x)(y)";
    QTest::newRow("cxcy") << "cxcy" << QRect(432, 48, 89, 25) << "cx (0) cy (0)";
    QTest::newRow("AltAn") << "AltAn" << QRect(424, 8, 97, 25) << "Ancho y Alto";
    QTest::newRow("Label2") << "Label2" << QRect(456, 208, 49, 17) << "Comienzo";
    QTest::newRow("Label3") << "Label3" << QRect(408, 272, 49, 17) << "Jugador";
    QTest::newRow("jugador") << "jugador" << QRect(456, 272, 57, 21) << "1";
}

void TestMainWindow::controlsAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    auto* control = window->centralWidget()->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        // On the window's teal, whether the label lets it through or fills with it.
        const QImage shot = label->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 1, shot.height() - 1), QColor(0, 128, 128));
    }
    if (auto* picture = qobject_cast<PictureBox*>(control)) {
        // The picture fills the inside of its 2-pixel border exactly.
        QCOMPARE(picture->contentsRect(), QRect(2, 2, 25, 25));
        const QImage shot = picture->grab().toImage();
        const QImage& expected = name == QLatin1String("start")
                                     ? art.startPicture()
                                     : art.terrain(name.back().digitValue());
        QCOMPARE(shot.copy(2, 2, 25, 25).convertToFormat(QImage::Format_RGB32), expected);
    }
    if (auto* chooser = qobject_cast<QComboBox*>(control)) {
        QCOMPARE(chooser->currentText(), text);
        QCOMPARE(chooser->count(), 8);
        QCOMPARE(chooser->itemText(7), QStringLiteral("8"));
        QVERIFY(chooser->isEditable());
        QCOMPARE(chooser->insertPolicy(), QComboBox::NoInsert);
    }
}

void TestMainWindow::tabOrderAndFirstFocus()
{
    QCOMPARE(QApplication::focusWidget(), child(*window, "mapa"));
    const QStringList expected{"terrimg0", "terrimg1", "terrimg2", "start", "jugador",
                               "terrimg3", "terrimg4", "terrimg5", "mapa"};
    QStringList seen;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The chooser's text field stands for the chooser.
        if (focus && !focus->isWindow() && qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        seen.append(focus ? focus->objectName() : QString());
    }
    QCOMPARE(seen, expected);
}

void TestMainWindow::menuHasFourPlainItems()
{
    const QList<QAction*> bar = window->menuBar()->actions();
    QCOMPARE(bar.size(), 1);
    QCOMPARE(bar[0]->text(), QStringLiteral("Archivo"));
    QMenu* archivo = bar[0]->menu();
    QCOMPARE(archivo->objectName(), QStringLiteral("mnuarchivo"));
    QStringList names;
    QStringList texts;
    for (QAction* item : archivo->actions()) {
        QVERIFY(!item->isSeparator());
        QVERIFY(item->isEnabled());
        QVERIFY(item->shortcut().isEmpty());
        names.append(item->objectName());
        texts.append(item->text());
    }
    QCOMPARE(names, (QStringList{"mnuNuevo", "mnuAbrir", "mnuGuardar", "mnuSalir"}));
    QCOMPARE(texts, (QStringList{"Nuevo", "Abrir", "Guardar", "Salir"}));
}

void TestMainWindow::leavingAsks()
{
    newMap(30, 30);
    const MapDocument before = window->editor().document();
    const QString question = QStringLiteral("Editor|¿De verdad deseas salir?");

    dialogs.answerYes = false;
    QVERIFY(!window->close());
    menuItem(*window, "mnuSalir")->trigger();
    QVERIFY(window->isVisible());
    QCOMPARE(dialogs.questions, (QStringList{question, question}));
    QVERIFY(window->editor().document() == before);

    // Yes after "Salir" closes everything without asking again; the new-map window goes too.
    menuItem(*window, "mnuNuevo")->trigger();
    QPointer<NewMapDialog> nuevo = window->newMapDialog();
    QVERIFY(nuevo && nuevo->isVisible());
    dialogs.answerYes = true;
    dialogs.questions.clear();
    menuItem(*window, "mnuSalir")->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(!nuevo || !nuevo->isVisible());
    QCOMPARE(dialogs.questions, QStringList{question});
}

void TestMainWindow::keyPreviewSeesEveryKeyOnce()
{
    newMap(99, 99);
    auto* chooser = child<QComboBox>(*window, "jugador");
    auto* cxcy = child<QLabel>(*window, "cxcy");
    // With the focus on the chooser, Down both scrolls and moves the chooser on.
    chooser->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    QCOMPARE(cxcy->text(), QStringLiteral("cx (0) cy (2)"));
    QCOMPARE(chooser->currentText(), QStringLiteral("2"));
    // Modifiers change nothing; other keys rewrite the caption and repaint.
    child(*window, "mapa")->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::keyClick(window->windowHandle(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(cxcy->text(), QStringLiteral("cx (4) cy (2)"));
    QCOMPARE(window->editor().document().scrollX, std::int16_t(4));
}

void TestMainWindow::everyButtonPressesAlike()
{
    newMap(20, 20);
    auto* mapa = child(*window, "mapa");
    window->editor().selectTerrain(1);
    QTest::mouseClick(mapa, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(mapa, Qt::RightButton, Qt::ShiftModifier, QPoint(35, 10));
    QTest::mouseClick(mapa, Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier,
                      QPoint(60, 10));
    QTest::mouseDClick(mapa, Qt::LeftButton, {}, QPoint(85, 10));
    for (int column = 0; column < 4; ++column)
        QCOMPARE(window->editor().document().map.terrainAt(column, 0), std::int16_t(1));
    QCOMPARE(window->editor().document().map.terrainAt(4, 0), std::int16_t(0));
}

void TestMainWindow::movingWithAButtonHeldEditsNothing()
{
    newMap(20, 20);
    auto* mapa = child(*window, "mapa");
    window->editor().selectTerrain(5);
    const MapDocument before = window->editor().document();
    for (int x = 0; x < 200; x += 10) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 30), mapa->mapToGlobal(QPointF(x, 30)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mapa, &move);
    }
    QVERIFY(window->editor().document() == before);
    QCOMPARE(child<QLabel>(*window, "xy")->text(), QStringLiteral("Mouse: (7)(1)"));
}

void TestMainWindow::paletteChoiceShowsNothing()
{
    newMap(20, 20);
    const QImage before = window->grab().toImage();
    QTest::mouseClick(child(*window, "terrimg4"), Qt::LeftButton, {}, QPoint(14, 14));
    QCOMPARE(window->editor().document().selectedTerrain, std::int16_t(4));
    QTest::mouseClick(child(*window, "start"), Qt::LeftButton, {}, QPoint(14, 14));
    QCOMPARE(window->editor().document().toolMode, ToolMode::Start);
    child(*window, "mapa")->setFocus();
    QCOMPARE(window->grab().toImage(), before);
}

void TestMainWindow::focusedPicturesAnswerSpaceAndEnter()
{
    // As a click on it: Space or Enter on the focused picture chooses its tool.
    const MapDocument& document = window->editor().document();
    const auto press = [&](const char* control, Qt::Key key) {
        QWidget* picture = child(*window, control);
        picture->setFocus();
        QTest::keyClick(picture, key);
        return std::pair(document.toolMode, int(document.selectedTerrain));
    };
    QCOMPARE(press("start", Qt::Key_Space), std::pair(ToolMode::Start, 0));
    QCOMPARE(press("terrimg3", Qt::Key_Return), std::pair(ToolMode::Terrain, 3));
    QCOMPARE(press("terrimg4", Qt::Key_Enter), std::pair(ToolMode::Terrain, 4));
    QCOMPARE(press("terrimg5", Qt::Key_A), std::pair(ToolMode::Terrain, 4));
}

void TestMainWindow::viewShowsTheComposedImage()
{
    auto* mapa = child(*window, "mapa");
    // Blank, in the window colour, before any map.
    QCOMPARE(mapa->grab().toImage().pixelColor(200, 200), mapa->palette().color(QPalette::Base));
    newMap(40, 40);
    MapDocument& document = window->editor().document();
    for (int t = 0; t < 6; ++t)
        document.map.setTerrainAt(t, 1, std::int16_t(t));
    document.map.starts[5] = testmaps::cell(3, 3);
    window->editor().drawmap();
    QCOMPARE(mapa->grab().toImage().convertToFormat(QImage::Format_RGB32), window->editor().view());
    // Scrolled, the view's picture wraps around its edges: shown whole all the same.
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right,
                              Qt::Key_Right, Qt::Key_Down, Qt::Key_Left}) {
        QTest::keyClick(window->windowHandle(), key);
        QCOMPARE(mapa->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 window->editor().view());
    }
    QCOMPARE(window->editor().viewOrigin(), QPoint(100, 150));
}

void TestMainWindow::captionsLookAsLabelsDo()
{
    // The captions of the view's origin and of the pointer draw their text in pieces, each
    // number one: side by side with a QLabel's, every caption they can show comes out the
    // same, pixel for pixel, kerned numbers such as 11 and negative ones among them.
    auto* plain = new QLabel(window->centralWidget());
    auto* caption = child<QLabel>(*window, "cxcy");
    plain->setGeometry(caption->geometry().translated(0, 300));
    plain->setPalette(caption->palette());
    plain->setAlignment(caption->alignment());
    plain->show();
    QStringList texts;
    for (int n = 0; n < 100; ++n)
        texts << QStringLiteral("cx (%1) cy (%2)").arg(n).arg(99 - n)
              << QStringLiteral("cx (%1) cy (%1)").arg(n)
              << QStringLiteral("Mouse: (%1)(%2)").arg(n - 50).arg(-n);
    for (const QString& text : texts) {
        caption->setText(text);
        plain->setText(text);
        QCOMPARE(caption->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 plain->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

void TestMainWindow::messageBoxesAreSpanish()
{
    QtUserDialogs real;
    real.setWindow(window.get());
    whenShown<QMessageBox>([](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Editor"));
        QCOMPARE(box->text(), QStringLiteral("¿De verdad deseas salir?"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("Sí"));
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!real.askYesNo(QStringLiteral("Editor"), QStringLiteral("¿De verdad deseas salir?")));
    // A message in its own words, with the icon of an error or of news, and its detail.
    for (const EditorMessage message : {EditorMessage::FileCorrupt, EditorMessage::Saved}) {
        const MessageWords words = messageWords(message);
        whenShown<QMessageBox>([words](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), words.title);
            QCOMPARE(box->text(), words.text);
            QCOMPARE(box->icon(), words.error ? QMessageBox::Critical : QMessageBox::Information);
            QCOMPARE(box->detailedText(), QStringLiteral("por qué"));
            QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("Aceptar"));
            box->button(QMessageBox::Ok)->click();
        });
        real.showMessage(message, QStringLiteral("por qué"));
    }
}

void TestMainWindow::mapsThatDoNotOpenSayWhy_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("detail");
    // Once the editor showed nothing at all for these two.
    QTest::newRow("read failure")
        << QByteArray("16,16,0<fin>") << int(EditorMessage::ReadFailed)
        << "fallo de lectura en el byte 7: solo hay 1 de las 289 casillas";
    QTest::newRow("size rejected") << QByteArray("100,16,<fin>") << int(EditorMessage::SizeRejected)
                                   << "tamaño rechazado en el byte 0: el ancho 100 da 101 "
                                      "columnas; el editor abre de 17 a 100 columnas";
    QTest::newRow("corrupt") << QByteArray("16,16,x,<fin>") << int(EditorMessage::FileCorrupt)
                             << "archivo corrupto en el byte 6: la casilla de la columna 0, fila 0 "
                                "es «x», que no es un número";
}

void TestMainWindow::mapsThatDoNotOpenSayWhy()
{
    // Through the real message box, as the user sees it: its title, its text, the reason in
    // its detail.
    QFETCH(QByteArray, bytes);
    QFETCH(int, message);
    QFETCH(QString, detail);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("mapa.map"));
    QVERIFY(testmaps::writeFile(file, bytes));
    QtUserDialogs real;
    MainWindow shown(art, real);
    real.setWindow(&shown);
    shown.show();
    QVERIFY(QTest::qWaitForWindowActive(&shown));
    // Read, then closed, then compared: a box left open would wait for ever.
    QStringList seen;
    whenShown<QMessageBox>([&seen](QMessageBox* box) {
        seen << box->windowTitle() << box->text() << box->detailedText()
             << QString::number(box->icon());
        box->button(QMessageBox::Ok)->click();
    });
    shown.editor().openFile(file);
    QCOMPARE(seen, QStringList({QStringLiteral("Abrir Archivo"),
                                messageWords(EditorMessage(message)).text, detail,
                                QString::number(QMessageBox::Critical)}));
    QVERIFY(!shown.editor().document().mapLoaded);
}

void TestMainWindow::fileDialogRemembersTheLastName()
{
    QTemporaryDir folder;
    const QString chosen = folder.filePath(QStringLiteral("mundo.map"));
    QtUserDialogs real;
    real.setWindow(window.get());
    whenShown<QFileDialog>([chosen](QFileDialog* dialog) {
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("map"));
        dialog->selectFile(chosen);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QCOMPARE(real.chooseFileToSave(), chosen);
    // The open dialog offers the same name; cancelling it still chooses nothing.
    whenShown<QFileDialog>([chosen](QFileDialog* dialog) {
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->selectedFiles().value(0), chosen);
        dialog->reject();
    });
    QCOMPARE(real.chooseFileToOpen(), QString());
}

void TestMainWindow::screenReadersCanReadEveryControl()
{
    const auto name = [&](const char* control) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(child(*window, control));
        return face ? face->text(QAccessible::Name) : QString();
    };
    const QStringList terrains{"Hierba",        "Roca", "Agua", "Árbol", "Parcela de tierra",
                               "Tierra desnuda"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(name(qPrintable(QStringLiteral("terrimg%1").arg(i))), terrains[i]);
    QCOMPARE(name("start"), QStringLiteral("Comienzo de jugador"));
    // The chooser is named by its label, as screen readers on Linux expect.
    QAccessibleInterface* chooser =
        QAccessible::queryAccessibleInterface(child(*window, "jugador"));
    const auto labels = chooser->relations(QAccessible::Label);
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](const auto& relation) {
        return relation.first->text(QAccessible::Name) == QStringLiteral("Jugador");
    }));
    QCOMPARE(name("mapa"), QStringLiteral("Mapa"));
    for (const char* label : {"Label1", "xy", "cxcy", "AltAn", "Label2", "Label3"})
        QVERIFY2(!name(label).isEmpty(), label);

    // The palette pictures are radio buttons that a screen reader can press, and the one of the
    // tool in use reads as checked.
    const auto checked = [&] {
        QStringList names;
        for (const char* control :
             {"terrimg0", "terrimg1", "terrimg2", "terrimg3", "terrimg4", "terrimg5", "start"})
            if (QAccessible::queryAccessibleInterface(child(*window, control))->state().checked)
                names << name(control);
        return names;
    };
    QCOMPARE(checked(), QStringList{"Hierba"});
    QAccessibleInterface* water = QAccessible::queryAccessibleInterface(child(*window, "terrimg2"));
    QCOMPARE(water->role(), QAccessible::RadioButton);
    water->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(window->editor().document().selectedTerrain, std::int16_t(2));
    QCOMPARE(checked(), QStringList{"Agua"});
    QAccessible::queryAccessibleInterface(child(*window, "start"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(checked(), QStringList{"Comienzo de jugador"});

    // The view's description follows the map and the scroll origin.
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(child(*window, "mapa"));
    QVERIFY(view->text(QAccessible::Description).startsWith(QStringLiteral("Sin mapa")));
    newMap(40, 25);
    window->editor().keyPressed(Qt::Key_Right);
    QCOMPARE(
        view->text(QAccessible::Description),
        QStringLiteral("Mapa de 41 por 26 casillas; la vista empieza en la columna 2, fila 0"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
