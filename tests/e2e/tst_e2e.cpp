// The editor as a user gets it: the real binary on a virtual X server, driven by real
// X input events, with its real menu, file dialog and message boxes.

#include "art/tileart.h"
#include "editor/editor.h"
#include "editor/edittools.h"
#include "fakedialogs.h"
#include "map/maptext.h"
#include "testmaps.h"
#include "xsession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <unistd.h>

using namespace quintaraz;

namespace {

constexpr int clientHeight = 399;

/** The main window of an editor on screen; client coordinates are below the menu bar. */
struct Main {
    QString id;
    QRect inside;
    int menuHeight = 0;

    QPoint window(QPoint client) const { return client + QPoint(0, menuHeight); }
    QRect screen(QRect client) const
    {
        return client.translated(inside.topLeft() + QPoint(0, menuHeight));
    }
};

Main mainWindow(XSession& x, const QString& id)
{
    Main main;
    main.id = id;
    main.inside = x.geometry(id);
    main.menuHeight = main.inside.height() - clientHeight;
    return main;
}

/** Takes screenshots until the area shows what is expected; the last one if it never does. */
QImage waitForShot(XSession& x, const QRect& area, const QImage& expected)
{
    QImage shot;
    x.waitUntil([&] {
        shot = x.shot(area);
        return shot == expected;
    });
    return shot;
}

/** Takes screenshots until two in a row agree: the area has finished painting. */
QImage stableShot(XSession& x, const QRect& area)
{
    QImage last = x.shot(area);
    QDeadlineTimer deadline(8000);
    while (!deadline.hasExpired()) {
        QThread::msleep(60);
        QImage next = x.shot(area);
        if (next == last && !next.isNull())
            return next;
        last = next;
    }
    return last;
}

/** Whether two pictures agree; when they do not, both are kept for a look, named after what. */
bool sameImage(const QImage& actual, const QImage& expected, const QString& what)
{
    if (actual == expected)
        return true;
    const QString base = XSession::artifactFolder() + QLatin1Char('/') + what;
    actual.save(base + QStringLiteral("-actual.png"));
    expected.save(base + QStringLiteral("-expected.png"));
    qWarning("%s differs: see %s-actual.png", qPrintable(what), qPrintable(base));
    return false;
}

void clickClient(XSession& x, const Main& main, QPoint client)
{
    x.click(main.id, main.window(client));
}

QPoint cellPixel(int column, int row)
{
    return {25 * column + 12, 25 * row + 12};
}

// Where the palette pictures and the start picture stand, and what they show.
const QList<std::pair<int, QPoint>> palette{{0, {424, 128}}, {1, {488, 160}}, {2, {488, 128}},
                                            {3, {424, 160}}, {4, {456, 160}}, {5, {456, 128}}};
const QPoint startPicture(456, 232);
const QPoint chooserText(470, 282);

QPoint paletteCentre(int terrain)
{
    for (const auto& [index, corner] : palette)
        if (index == terrain)
            return corner + QPoint(14, 14);
    return {};
}

void newMapThroughDialog(XSession& x, const Main& main, const QString& width, const QString& height)
{
    x.chooseMenuItem(main.id, 0);
    const QString dialog = x.waitForFocusedWindow(QStringLiteral("Nuevo Mapa"));
    QVERIFY(!dialog.isEmpty());
    x.type(width);
    x.keys({QStringLiteral("Tab")});
    x.type(height);
    x.click(dialog, {40 + 48, 80 + 8});
    QVERIFY(x.waitForNoWindow(QStringLiteral("Nuevo Mapa")));
}

/** The same map built through the library, to tell what the screen and the file must hold. */
struct Model {
    TileArt& art;
    FakeDialogs dialogs;
    Editor editor{art, dialogs};
};

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startUp();
    void newMap();
    void editAndSave();
    void openShowsTheSameMap();
    void openedFromTheCommandLine();
    void messages();
    void typedNamesAreTheChoice();
    void typedNamesWithTheFocusUnderThePointer_data();
    void typedNamesWithTheFocusUnderThePointer();
    void screenReadersAndKeyboards();
    void leaving();

private:
    /** Answers one of the editor's messages, after checking that it looks exactly as that
     * message, with that detail if any, looks on its own. */
    void checkMessage(XSession& x, EditorMessage message, const QString& detail = {});
    /** Answers the file dialog's question before it replaces a file, after checking that it
     * looks as that question looks on its own. */
    void checkReplaceQuestion(XSession& x, const QString& file, const QString& answer);
    /** Answers the newest box with that title after comparing it with what the message
     * helper shows, given those arguments. */
    void checkBox(XSession& x, const QString& title, const QStringList& helperArguments,
                  const QString& answer);

    TileArt art;
    QTemporaryDir folder;
    QString savedPath;
};

void TestEndToEnd::initTestCase()
{
    for (const char* tool :
         {"Xvfb", "xdotool", "import", "openbox", "wmctrl", "xprop", "xclip", "dbus-daemon"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(), tool);
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(qgetenv("QUINTARAZ_EDITOR"))),
             "QUINTARAZ_EDITOR names the editor binary");
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(qgetenv("QUINTARAZ_SHOWMESSAGE"))),
             "QUINTARAZ_SHOWMESSAGE names the message helper");
    // The sanitizers' runtime may come first; the probe is the last library preloaded.
    QVERIFY2(QFile::exists(qEnvironmentVariable("QUINTARAZ_EDITOR_PRELOAD").section(u':', -1)),
             "QUINTARAZ_EDITOR_PRELOAD names the probe that tells the editor's state");
    QVERIFY(folder.isValid());
}

void TestEndToEnd::startUp()
{
    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    QCOMPARE(main.inside.width(), 542);
    QVERIFY(main.menuHeight > 10 && main.menuHeight < 60);

    const QImage client = stableShot(x, main.screen({0, 0, 542, clientHeight}));
    const QColor teal(0, 128, 128);
    QCOMPARE(client.pixelColor(410, 0), teal);
    QCOMPARE(client.pixelColor(530, clientHeight - 1), teal);
    // The row above the client area is the menu bar, not the window's teal.
    QVERIFY(x.shot(QRect(main.inside.x() + 410, main.inside.y() + main.menuHeight - 1, 1, 1))
                .pixelColor(0, 0) != teal);

    for (const auto& [terrain, corner] : palette)
        QVERIFY(sameImage(client.copy(QRect(corner + QPoint(2, 2), QSize(25, 25))),
                          art.terrain(terrain), QStringLiteral("palette%1").arg(terrain)));
    QVERIFY(sameImage(client.copy(QRect(startPicture + QPoint(2, 2), QSize(25, 25))),
                      art.startPicture(), QStringLiteral("start")));

    // Label texts: white, blended only with the teal behind them.
    const QList<QRect> labels{{456, 104, 41, 17}, {432, 80, 89, 25},  {432, 48, 89, 25},
                              {424, 8, 97, 25},   {456, 208, 49, 17}, {408, 272, 49, 17}};
    for (const QRect& label : labels) {
        int white = 0;
        for (int y = label.top(); y <= label.bottom(); ++y) {
            for (int x_ = label.left(); x_ <= label.right(); ++x_) {
                const QColor c = client.pixelColor(x_, y);
                QVERIFY2(qAbs(c.green() - c.blue()) <= 2 && c.red() <= c.green() + 2,
                         "only white on teal");
                white += c.red() > 200;
            }
        }
        QVERIFY2(white >= 5, "the label shows white text");
    }
}

void TestEndToEnd::newMap()
{
    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    x.chooseMenuItem(main.id, 0);
    const QString dialog = x.waitForFocusedWindow(QStringLiteral("Nuevo Mapa"));
    QVERIFY(!dialog.isEmpty());
    const QRect mainFrame = x.frameGeometry(main.id);
    const QRect dialogFrame = x.frameGeometry(dialog);
    QCOMPARE(dialogFrame.left(), mainFrame.left() + mainFrame.width());
    QCOMPARE(dialogFrame.top(), mainFrame.top());
    QCOMPARE(x.geometry(dialog).size(), QSize(172, 108));

    // Letters are discarded: copy the width box's text out through the clipboard.
    x.type(QStringLiteral("4a0"));
    x.keys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
    QCOMPARE(x.run(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"}),
             QStringLiteral("40"));
    x.keys({QStringLiteral("End"), QStringLiteral("Tab")});
    x.type(QStringLiteral("25"));
    x.click(dialog, {40 + 48, 80 + 8});
    QVERIFY(x.waitForNoWindow(QStringLiteral("Nuevo Mapa")));

    Model model{art};
    testmaps::startNewMap(model.editor, 40, 25);
    const QRect view = main.screen({0, 0, 400, clientHeight});
    const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
    QVERIFY(sameImage(waitForShot(x, view, expected), expected, QStringLiteral("new-map")));

    // With the main window against the screen's right edge, the dialog stays on the screen,
    // moved left just as far as it must.
    const int screenWidth =
        x.xdotool({QStringLiteral("getdisplaygeometry")}).section(QLatin1Char(' '), 0, 0).toInt();
    const QRect before = x.frameGeometry(main.id);
    x.xdotool({QStringLiteral("windowmove"), main.id,
               QString::number(main.inside.x() + screenWidth - 1 - before.right()),
               QString::number(main.inside.y())});
    QVERIFY(x.waitUntil([&] { return x.frameGeometry(main.id).right() == screenWidth - 1; }));
    x.chooseMenuItem(main.id, 0);
    const QString atTheEdge = x.waitForFocusedWindow(QStringLiteral("Nuevo Mapa"));
    QVERIFY(!atTheEdge.isEmpty());
    QCOMPARE(x.frameGeometry(atTheEdge).right(), screenWidth - 1);
    QCOMPARE(x.frameGeometry(atTheEdge).top(), x.frameGeometry(main.id).top());
}

void TestEndToEnd::editAndSave()
{
    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    newMapThroughDialog(x, main, QStringLiteral("40"), QStringLiteral("25"));
    Model model{art};
    testmaps::startNewMap(model.editor, 40, 25);
    QString chooser = QStringLiteral("1");
    const auto terrain = [&](int index) {
        clickClient(x, main, paletteCentre(index));
        model.editor.selectTerrain(index);
    };
    const auto press = [&](int column, int row) {
        clickClient(x, main, cellPixel(column, row));
        model.editor.pressMap(cellPixel(column, row), playerForChooserText(chooser));
    };
    const auto player = [&](int number) {
        clickClient(x, main, chooserText);
        x.keys({QStringLiteral("ctrl+a")});
        x.type(QString::number(number));
        chooser = QString::number(number);
    };

    // Every terrain, a few cells each.
    for (int t = 0; t < 6; ++t) {
        terrain(t);
        for (int row = 0; row < 3; ++row)
            press(2 * t + 1, row);
    }
    // Every player's start on grass, one of them moved, one refused on water.
    clickClient(x, main, startPicture + QPoint(14, 14));
    model.editor.selectStartTool();
    for (int p = 1; p <= 8; ++p) {
        player(p);
        press(p, 6);
    }
    player(3);
    press(5, 1); // water: refused
    press(14, 9);
    // Scroll, then paint at the new origin.
    x.keys({QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Down")});
    for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        model.editor.keyPressed(key);
    terrain(3);
    press(0, 0);

    const QRect view = main.screen({0, 0, 400, clientHeight});
    const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
    QVERIFY(sameImage(waitForShot(x, view, expected), expected, QStringLiteral("edited")));

    savedPath = folder.filePath(QStringLiteral("mundo.map"));
    x.chooseMenuItem(main.id, 2);
    QVERIFY(x.chooseFile(QStringLiteral("Guardar como"), savedPath));
    checkMessage(x, EditorMessage::Saved);
    QFile file(savedPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), mapText(model.editor.document().map));
}

void TestEndToEnd::openShowsTheSameMap()
{
    QVERIFY2(QFile::exists(savedPath), "editAndSave saved the map");
    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    x.chooseMenuItem(main.id, 1);
    QVERIFY(x.chooseFile(QStringLiteral("Abrir"), savedPath));

    Model model{art};
    model.dialogs.filesToChoose = {savedPath};
    model.editor.open();
    QVERIFY(model.editor.document().mapLoaded);
    const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
    QVERIFY(sameImage(waitForShot(x, main.screen({0, 0, 400, clientHeight}), expected), expected,
                      QStringLiteral("opened")));

    // The opened map, with its eight players, can be saved again at once, unchanged.
    const QString again = folder.filePath(QStringLiteral("otra-vez.map"));
    x.chooseMenuItem(main.id, 2);
    QVERIFY(x.chooseFile(QStringLiteral("Guardar como"), again));
    checkMessage(x, EditorMessage::Saved);
    QFile saved(savedPath);
    QFile resaved(again);
    QVERIFY(saved.open(QIODevice::ReadOnly) && resaved.open(QIODevice::ReadOnly));
    QCOMPARE(resaved.readAll(), saved.readAll());
}

void TestEndToEnd::openedFromTheCommandLine()
{
    // As a file manager starts the editor for a map: its path as the one argument.
    QVERIFY2(QFile::exists(savedPath), "editAndSave saved the map");
    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor({}, {savedPath}));
    QVERIFY(!main.id.isEmpty());
    Model model{art};
    model.dialogs.filesToChoose = {savedPath};
    model.editor.open();
    const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
    QVERIFY(sameImage(waitForShot(x, main.screen({0, 0, 400, clientHeight}), expected), expected,
                      QStringLiteral("opened-at-start")));
}

void TestEndToEnd::messages()
{
    XSession x;
    QVERIFY(x.isRunning());
    // Under a file-size limit of 4 KB: a larger map cannot be saved, and the editor says so.
    const Main main =
        mainWindow(x, x.startEditor({QStringLiteral("prlimit"), QStringLiteral("--fsize=4096")}));
    QVERIFY(!main.id.isEmpty());

    const QString damaged = folder.filePath(QStringLiteral("roto.map"));
    const QString cut = folder.filePath(QStringLiteral("corto.map"));
    const QString text = folder.filePath(QStringLiteral("mapa.txt"));
    QVERIFY(testmaps::writeFile(damaged, "16,16,0,a,<fin>"));
    QVERIFY(testmaps::writeFile(cut, "16,16,0<fin>"));
    QVERIFY(testmaps::writeFile(text, testmaps::exampleText()));
    // Each with why in its details; a file cut short once got no message at all.
    x.chooseMenuItem(main.id, 1);
    QVERIFY(x.chooseFile(QStringLiteral("Abrir"), damaged));
    checkMessage(x, EditorMessage::FileCorrupt,
                 QStringLiteral("archivo corrupto en el byte 8: la casilla de la columna 1, fila 0 "
                                "es «a», que no es un número"));
    x.chooseMenuItem(main.id, 1);
    QVERIFY(x.chooseFile(QStringLiteral("Abrir"), cut));
    checkMessage(x, EditorMessage::ReadFailed,
                 QStringLiteral("fallo de lectura en el byte 7: solo hay 1 de las 289 casillas"));
    x.chooseMenuItem(main.id, 1);
    QVERIFY(x.chooseFile(QStringLiteral("Abrir"), text));
    checkMessage(x, EditorMessage::NotAMapToOpen);

    newMapThroughDialog(x, main, QStringLiteral("20"), QStringLiteral("20"));
    const QString unsaved = folder.filePath(QStringLiteral("sin-comienzos.map"));
    x.chooseMenuItem(main.id, 2);
    QVERIFY(x.chooseFile(QStringLiteral("Guardar como"), unsaved));
    checkMessage(x, EditorMessage::StartsMissing);
    QVERIFY(!QFile::exists(unsaved));

    const QString large = folder.filePath(QStringLiteral("grande.map"));
    QVERIFY(testmaps::writeFile(large, mapText(testmaps::mapOfSize(99, 99).map)));
    x.chooseMenuItem(main.id, 1);
    QVERIFY(x.chooseFile(QStringLiteral("Abrir"), large));
    x.chooseMenuItem(main.id, 2);
    QVERIFY(x.chooseFile(QStringLiteral("Guardar como"), unsaved));
    checkMessage(x, EditorMessage::SaveFailed,
                 QStringLiteral("el archivo superaría el tamaño que el sistema permite"));
    QCOMPARE(x.editor()->state(), QProcess::Running);
    QVERIFY(!QFile::exists(unsaved));

    // A name in /proc has the dialog list /proc, where some files never answer a read
    // (/proc/kmsg, as root): it lists without reading them, and the save fails as it must.
    if (::geteuid() != 0)
        QSKIP("only root may read /proc/kmsg");
    x.chooseMenuItem(main.id, 2);
    QVERIFY(x.chooseFile(QStringLiteral("Guardar como"), QStringLiteral("/proc/x.map")));
    checkMessage(x, EditorMessage::SaveFailed, QStringLiteral("no existe el archivo o la carpeta"));
}

void TestEndToEnd::typedNamesAreTheChoice()
{
    // A folder that holds only a folder, whose maps share the beginning of their names:
    // while a name is typed, the file dialog selects each file that a prefix names.
    QTemporaryDir top;
    QVERIFY(QDir(top.path()).mkdir(QStringLiteral("m")));
    const auto file = [&](const char* name) { return top.filePath(QStringLiteral("m/") + name); };
    const QByteArray a = mapText(testmaps::mapOfSize(20, 20).map);
    for (const char* name : {"a.map", "a.v2.map"})
        QVERIFY(testmaps::writeFile(file(name), a));
    QVERIFY(testmaps::writeFile(file("z.map"), testmaps::exampleText()));

    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    const QRect view = main.screen({0, 0, 400, clientHeight});
    Model model{art};
    const auto open = [&](const char* name) {
        x.chooseMenuItem(main.id, 1);
        QVERIFY(x.chooseFile(QStringLiteral("Abrir"), file(name)));
        model.dialogs.filesToChoose = {file(name)};
        model.editor.open();
        const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
        QVERIFY(sameImage(waitForShot(x, view, expected), expected, QStringLiteral("opened")));
    };
    open("z.map");
    clickClient(x, main, paletteCentre(2));
    clickClient(x, main, cellPixel(1, 1));
    model.editor.selectTerrain(2);
    model.editor.pressMap(cellPixel(1, 1), 0);

    // Saving over a.v2.map asks about a.v2.map, and writes a.v2.map. The name field, which
    // holds the focus here, offers the file it names as a completion, and takes no more.
    x.chooseMenuItem(main.id, 2);
    QVERIFY(!x.waitForFocusedWindow(QStringLiteral("Guardar como")).isEmpty());
    x.type(file("a.v2.map"));
    QVERIFY(x.waitForNameField(file("a.v2.map")));
    QVERIFY(x.waitUntil([&] {
        return x.editorSays(QStringLiteral("rows")).startsWith('[' + file("a.v2.map") + ']');
    }));
    x.keys({QStringLiteral("Return")});
    QVERIFY(x.waitForWindows(QStringLiteral("Guardar como"), 2)); // the dialog and its question
    checkReplaceQuestion(x, QStringLiteral("a.v2.map"), QStringLiteral("s")); // Sí
    checkMessage(x, EditorMessage::Saved);
    QCOMPARE(testmaps::readFile(file("a.map")), a);
    QCOMPARE(testmaps::readFile(file("a.v2.map")), mapText(model.editor.document().map));

    // Opening a.v2.map opens a.v2.map, and a.MAP is not a .map file.
    open("z.map");
    open("a.v2.map");
    QVERIFY(testmaps::writeFile(file("a.MAP"), a));
    x.chooseMenuItem(main.id, 1);
    QVERIFY(x.chooseFile(QStringLiteral("Abrir"), file("a.MAP")));
    checkMessage(x, EditorMessage::NotAMapToOpen);
}

void TestEndToEnd::typedNamesWithTheFocusUnderThePointer_data()
{
    QTest::addColumn<int>("command"); // the item in "Archivo"
    QTest::addColumn<QString>("title");
    QTest::newRow("Abrir") << 1 << QStringLiteral("Abrir");
    QTest::newRow("Guardar") << 2 << QStringLiteral("Guardar como");
}

void TestEndToEnd::typedNamesWithTheFocusUnderThePointer()
{
    // Where the keyboard focus follows the pointer, Qt takes no window of the editor for the
    // active one. There its file dialog once wrote "/ruta/a" with ".map" added into the name
    // field while "/ruta/a.v2.map" was being typed; and its list of completions, opened and
    // closed again at every key, lost keys on a busy machine: "/ruta/tst_e2e-Wx/a.v2.map"
    // became "/ruta/tst_2e-Wx/a.v2.map", a file that does not exist.
    QFETCH(int, command);
    QFETCH(QString, title);
    QTemporaryDir top;
    const auto file = [&](const char* name) { return top.filePath(QString::fromLatin1(name)); };
    QVERIFY(testmaps::writeFile(file("a.map"), mapText(testmaps::mapOfSize(20, 20).map)));
    if (command == 1)
        QVERIFY(testmaps::writeFile(file("a.v2.map"), mapText(testmaps::mapOfSize(30, 30).map)));
    QVERIFY(testmaps::writeFile(file("z.map"), testmaps::exampleText()));

    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor({}, {file("z.map")}));
    QVERIFY(!main.id.isEmpty());
    x.chooseMenuItem(main.id, command);
    const QString dialog = x.waitForFocusedWindow(title);
    QVERIFY(!dialog.isEmpty());
    const QRect inside = x.geometry(dialog);
    x.stopWindowManager();
    x.xdotool({QStringLiteral("mousemove"), QString::number(inside.x() + 4),
               QString::number(inside.y() + 4)});
    QVERIFY(x.waitUntil([&] { return x.editorSays(QStringLiteral("active window")) == "none"; }));

    // Key by key through the folders, whose prefixes all name folders or files: each key
    // reaches the name field, and no list of completions opens to take the keyboard. Then
    // the file's name at full speed: every key arrives, in order.
    const QString name = file("a.v2.map");
    const qsizetype folder = name.lastIndexOf(u'/') + 1;
    for (qsizetype typed = 1; typed <= folder; ++typed) {
        x.type(name.mid(typed - 1, 1));
        QVERIFY(x.waitForNameField(name.left(typed)));
        QCOMPARE(x.editorSays(QStringLiteral("popup")), QStringLiteral("none"));
    }
    x.type(name.mid(folder));
    QVERIFY(x.waitForNameField(name));
    QCOMPARE(x.editorSays(QStringLiteral("popup")), QStringLiteral("none"));
    x.keys({QStringLiteral("Return")});
    QVERIFY(x.waitForNoWindow(title));

    // Opened: the view shows a.v2.map. Saved: a.v2.map holds the map that was open, and the
    // editor says so in a box that the next key answers.
    Model model{art};
    model.dialogs.filesToChoose = {file(command == 1 ? "a.v2.map" : "z.map")};
    model.editor.open();
    if (command == 1) {
        const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
        QVERIFY(sameImage(waitForShot(x, main.screen({0, 0, 400, clientHeight}), expected),
                          expected, QStringLiteral("opened-as-typed")));
    } else {
        const QByteArray saved = mapText(model.editor.document().map);
        QVERIFY2(x.waitUntil([&] { return testmaps::readFile(file("a.v2.map")) == saved; }),
                 "a.v2.map holds the map that was open");
        QVERIFY(x.waitUntil([&] {
            return x.editorSays(QStringLiteral("active window"))
                .startsWith("QMessageBox «Guardar Mapa»");
        }));
        x.keys({QStringLiteral("Return")});
        QVERIFY(x.waitForNoWindow(QStringLiteral("Guardar Mapa")));
    }
    QCOMPARE(x.editorSays(QStringLiteral("popup")), QStringLiteral("none"));
    QCOMPARE(QDir(top.path()).entryList(QDir::Files), QStringList({"a.map", "a.v2.map", "z.map"}));
}

void TestEndToEnd::screenReadersAndKeyboards()
{
    XSession x;
    QVERIFY(x.isRunning());
    QVERIFY2(x.startAccessibilityBus(), "no session bus");
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    newMapThroughDialog(x, main, QStringLiteral("20"), QStringLiteral("20"));
    // What a screen reader learns: the program's name, and which tool is in use.
    QStringList read;
    const auto reads = [&](const QStringList& expected) {
        return x.waitUntil([&] {
            read = x.run(QStringLiteral(QUINTARAZ_ACCESSIBLE_TREE), {}).split(u'\n');
            return read == expected;
        });
    };
    // The seven pictures are one group of radio buttons, with the tool in use checked.
    const auto tools = [](const QString& inUse) {
        QStringList lines{QStringLiteral("aplicación: Quintaraz Editor")};
        for (const char* tool : {"Hierba", "Roca", "Agua", "Árbol", "Parcela de tierra",
                                 "Tierra desnuda", "Comienzo de jugador"}) {
            const QString name = QString::fromUtf8(tool);
            lines << QStringLiteral("radio button %1: %2")
                         .arg(name == inUse ? "marcado" : "sin marcar", name);
        }
        return lines;
    };
    QVERIFY2(reads(tools(QStringLiteral("Hierba"))), qPrintable(read.join(u'|')));

    // Water chosen with the keyboard alone: Tab from the view past grass and rock, Space.
    // A screen reader hears grass lose its mark and water take it.
    const QString heard = folder.filePath(QStringLiteral("oido.txt"));
    QProcess* listener = x.start(QStringLiteral(QUINTARAZ_ACCESSIBLE_TREE),
                                 {QStringLiteral("--cambios"), heard, QStringLiteral("2")});
    QVERIFY(x.waitUntil([&] { return testmaps::readFile(heard).startsWith("listo\n"); }));
    x.keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
            QStringLiteral("space")});
    QVERIFY(listener->waitForFinished(15000));
    QCOMPARE(testmaps::readFile(heard),
             QByteArray("listo\ncambio: Hierba desmarcado\ncambio: Agua marcado\n"));
    QVERIFY2(reads(tools(QStringLiteral("Agua"))), qPrintable(read.join(u'|')));
    clickClient(x, main, cellPixel(3, 3));
    Model model{art};
    testmaps::startNewMap(model.editor, 20, 20);
    model.editor.selectTerrain(2);
    model.editor.pressMap(cellPixel(3, 3), 0);
    const QImage expected = model.editor.view().copy(0, 0, 400, clientHeight);
    QVERIFY(sameImage(waitForShot(x, main.screen({0, 0, 400, clientHeight}), expected), expected,
                      QStringLiteral("painted-after-space")));

    // A click on a picture changes no pixel outside the view; a focus that comes by the
    // keyboard shows its mark on that picture, and only there.
    const QRect panel = main.screen({400, 0, 142, clientHeight});
    const QImage unmarked = stableShot(x, panel);
    clickClient(x, main, paletteCentre(1));
    QVERIFY2(reads(tools(QStringLiteral("Roca"))), qPrintable(read.join(u'|')));
    QVERIFY(sameImage(stableShot(x, panel), unmarked, QStringLiteral("clicked")));
    const auto markedOnly = [&](int terrain) {
        const QRect box(paletteCentre(terrain) - QPoint(400 + 14, 14), QSize(29, 29));
        QImage outsideBefore = unmarked;
        QPainter(&outsideBefore).fillRect(box, Qt::black);
        return x.waitUntil([&] {
            const QImage marked = stableShot(x, panel);
            QImage outside = marked;
            QPainter(&outside).fillRect(box, Qt::black);
            return marked != unmarked && outside == outsideBefore;
        });
    };
    x.keys({QStringLiteral("Tab")}); // Roca to Agua
    QVERIFY2(markedOnly(2), "Tab marks Agua alone");
    x.keys({QStringLiteral("shift+Tab")});
    QVERIFY2(markedOnly(1), "Shift+Tab marks Roca alone");
}

void TestEndToEnd::leaving()
{
    XSession x;
    QVERIFY(x.isRunning());
    const Main main = mainWindow(x, x.startEditor());
    QVERIFY(!main.id.isEmpty());
    newMapThroughDialog(x, main, QStringLiteral("30"), QStringLiteral("30"));
    clickClient(x, main, paletteCentre(2));
    clickClient(x, main, cellPixel(3, 3));
    const QRect view = main.screen({0, 0, 400, clientHeight});
    const QImage before = stableShot(x, view);

    // The close button on the window's title bar, answered No: the window and its map stay.
    const QRect frame = x.frameGeometry(main.id);
    const int titleBar = main.inside.top() - frame.top();
    x.xdotool({QStringLiteral("mousemove"), QString::number(frame.right() - titleBar / 2),
               QString::number(frame.top() + titleBar / 2), QStringLiteral("click"),
               QStringLiteral("1")});
    QVERIFY(!x.waitForFocusedWindow(QStringLiteral("Editor")).isEmpty());
    x.keys({QStringLiteral("Escape")});
    QVERIFY(x.waitForNoWindow(QStringLiteral("Editor")));
    QCOMPARE(x.editor()->state(), QProcess::Running);
    QVERIFY(sameImage(x.shot(view), before, QStringLiteral("kept")));

    // "Salir" answered Yes: the editor ends at once, with nothing more asked.
    x.chooseMenuItem(main.id, 3);
    QVERIFY(!x.waitForFocusedWindow(QStringLiteral("Editor")).isEmpty());
    x.keys({QStringLiteral("Return")});
    QVERIFY(x.editor()->waitForFinished(10000));
    QCOMPARE(x.editor()->exitStatus(), QProcess::NormalExit);
    QCOMPARE(x.editor()->exitCode(), 0);
}

void TestEndToEnd::checkMessage(XSession& x, EditorMessage message, const QString& detail)
{
    checkBox(x, messageWords(message).title,
             QStringList{QStringLiteral("message"), QString::number(int(message))}
                 << (detail.isEmpty() ? QStringList() : QStringList{detail}),
             QStringLiteral("Return"));
}

void TestEndToEnd::checkReplaceQuestion(XSession& x, const QString& file, const QString& answer)
{
    const QString title = QStringLiteral("Guardar como");
    checkBox(x, title, {QStringLiteral("replace"), title, file}, answer);
}

void TestEndToEnd::checkBox(XSession& x, const QString& title, const QStringList& helperArguments,
                            const QString& answer)
{
    // The newest window with that title: a question stands over the dialog that asks it.
    const QString box = x.waitForFocusedWindow(title);
    QVERIFY2(!box.isEmpty(), qPrintable(title));
    const QImage shown = stableShot(x, x.geometry(box));
    x.keys({answer});
    QVERIFY(x.waitForNoWindow(title));

    QProcess* reference =
        x.start(QString::fromLocal8Bit(qgetenv("QUINTARAZ_SHOWMESSAGE")), helperArguments);
    const QString referenceBox = x.waitForFocusedWindow(title);
    QVERIFY(!referenceBox.isEmpty());
    const QImage expected = stableShot(x, x.geometry(referenceBox));
    x.keys({QStringLiteral("Return")});
    QVERIFY(reference->waitForFinished(10000));
    QVERIFY(sameImage(shown, expected, QStringLiteral("message-") + title));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
