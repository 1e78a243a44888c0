#include "art/tileart.h"
#include "editor/editor.h"
#include "fakedialogs.h"
#include "map/mapreading.h"
#include "testmaps.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace quintaraz;

namespace {

/** What a message box shows, in short, for a comparison: "title|text|error". */
QString shownAs(EditorMessage message)
{
    const MessageWords words = messageWords(message);
    return words.title + u'|' + words.text + (words.error ? "|error" : "|information");
}

/** The kinds of the messages shown, as numbers; a test names them by their kind. */
QList<int> kindsOf(const QList<FakeDialogs::Message>& messages)
{
    QList<int> kinds;
    for (const FakeDialogs::Message& message : messages)
        kinds << int(message.kind);
    return kinds;
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void nothingHappensBeforeAMap();
    void newMapSizes_data();
    void newMapSizes();
    void newMapOverALargerPaintedMap();
    void pressesEditAndRepaint();
    void keysScrollAndRepaint();
    void scrolledViewIsTheWholeViewDrawn();
    void pointerReadout();
    void messagesInSpanish_data();
    void messagesInSpanish();
    void openOutcomes_data();
    void openOutcomes();
    void openedMapCanBeSavedAtOnce();
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void failedSaveSaysSo();

private:
    TileArt art;
    FakeDialogs dialogs;
    QTemporaryDir folder;
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
};

void TestEditor::init()
{
    dialogs = FakeDialogs();
}

void TestEditor::nothingHappensBeforeAMap()
{
    Editor editor(art, dialogs);
    QSignalSpy repaints(&editor, &Editor::viewChanged);
    editor.pressMap({10, 10}, 0);
    editor.keyPressed(Qt::Key_Right);
    editor.pointerMoved({10, 10});
    editor.save();
    QCOMPARE(repaints.count(), 0);
    QCOMPARE(dialogs.fileRequests, 0); // not even the dialog
    QVERIFY(editor.view().isNull());
    QCOMPARE(editor.scrollCaption(), QStringLiteral("cx (0) cy (0)"));
    QCOMPARE(editor.pointerCaption(), QStringLiteral("Mouse: (x)(y)"));
    QCOMPARE(editor.sizeCaption(), QStringLiteral("Ancho y Alto"));
    QVERIFY(editor.document() == MapDocument());
}

void TestEditor::newMapSizes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("caption");
    QTest::newRow("16 by 99") << 16 << 99 << "Ancho = 16\nAlto = 99";
    QTest::newRow("99 by 16") << 99 << 16 << "Ancho = 99\nAlto = 16";
    QTest::newRow("40 by 25") << 40 << 25 << "Ancho = 40\nAlto = 25";
}

void TestEditor::newMapSizes()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, caption);
    Editor editor(art, dialogs);
    MapDocument& document = editor.document();
    testmaps::startNewMap(editor, 99, 99);
    std::fill(document.map.terrain.begin(), document.map.terrain.end(), 5);
    QSignalSpy repaints(&editor, &Editor::viewChanged);
    editor.newMap(width, height);
    QCOMPARE(repaints.count(), 1);
    QCOMPARE(document.map, GameMap(width, height, Terrain::Grass));
    QVERIFY(document.mapLoaded);
    QCOMPARE(editor.sizeCaption(), caption);
}

void TestEditor::newMapOverALargerPaintedMap()
{
    Editor editor(art, dialogs);
    MapDocument& document = editor.document();
    testmaps::startNewMap(editor, 60, 60);
    document.map.setTerrainAt(21, 3, 4);
    document.map.starts[2] = testmaps::cell(50, 50);
    document.map.starts[3] = testmaps::cell(1, 1);
    for (int i = 0; i < 40; ++i) {
        editor.keyPressed(Qt::Key_Right);
        editor.keyPressed(Qt::Key_Down);
    }
    QCOMPARE(editor.scrollCaption(), QStringLiteral("cx (45) cy (45)"));

    testmaps::startNewMap(editor, 20, 20);
    // All grass, and no starts at all: not even those that were inside the new size.
    QCOMPARE(document.map, GameMap(20, 20, Terrain::Grass));
    // The view is brought back onto the new map.
    QCOMPARE(QPoint(document.scrollX, document.scrollY), QPoint(5, 5));
    QCOMPARE(editor.scrollCaption(), QStringLiteral("cx (5) cy (5)"));
}

void TestEditor::pressesEditAndRepaint()
{
    Editor editor(art, dialogs);
    testmaps::startNewMap(editor, 30, 30);
    QSignalSpy repaints(&editor, &Editor::viewChanged);
    editor.selectTerrain(2);
    editor.pressMap({30, 10}, 0);
    QCOMPARE(editor.document().map.terrainAt(1, 0), std::int16_t(2));
    QCOMPARE(repaints.count(), 1);
    QCOMPARE(editor.view().pixel(30, 10), art.terrain(2).pixel(5, 10));

    editor.selectStartTool();
    editor.pressMap({30, 10}, 2);            // on water: refused, no repaint
    editor.pressMap({60, 60}, std::nullopt); // no player chosen
    QCOMPARE(repaints.count(), 1);
    editor.pressMap({60, 60}, 2);
    QCOMPARE(repaints.count(), 2);
    QCOMPARE(editor.document().map.starts[2], testmaps::cell(2, 2));
}

void TestEditor::keysScrollAndRepaint()
{
    Editor editor(art, dialogs);
    testmaps::startNewMap(editor, 16, 16);
    QSignalSpy repaints(&editor, &Editor::viewChanged);
    editor.keyPressed(Qt::Key_Right);
    QCOMPARE(editor.scrollCaption(), QStringLiteral("cx (1) cy (0)"));
    editor.keyPressed(Qt::Key_Up); // moves nothing, still rewrites and repaints
    editor.keyPressed(Qt::Key_Space);
    QCOMPARE(repaints.count(), 3);
    QCOMPARE(editor.scrollCaption(), QStringLiteral("cx (1) cy (0)"));
}

void TestEditor::scrolledViewIsTheWholeViewDrawn()
{
    // A scroll draws only the cells it brings in, where the cells that left were: the view
    // is then, pixel for pixel, the view drawn whole at that origin. Random maps and keys,
    // into every edge and corner.
    QRandomGenerator random(17);
    static const std::array<int, 6> keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                         Qt::Key_Down, Qt::Key_A,     Qt::Key_Right};
    for (int map = 0; map < 20; ++map) {
        Editor editor(art, dialogs);
        editor.document() = testmaps::randomMap(random);
        editor.drawmap();
        Editor whole(art, dialogs);
        whole.document() = editor.document();
        for (int press = 0; press < 120; ++press) {
            // Runs of one key, long enough to cross the map.
            const int key = keys[std::size_t(random.bounded(int(keys.size())))];
            for (int again = random.bounded(1, 12); again > 0; --again)
                editor.keyPressed(key);
            whole.document().scrollX = editor.document().scrollX;
            whole.document().scrollY = editor.document().scrollY;
            whole.drawmap();
            if (editor.view() != whole.view())
                QFAIL(qPrintable(QStringLiteral("map %1, press %2: the view at %3, %4 differs")
                                     .arg(map)
                                     .arg(press)
                                     .arg(editor.document().scrollX)
                                     .arg(editor.document().scrollY)));
        }
    }
}

void TestEditor::pointerReadout()
{
    Editor editor(art, dialogs);
    testmaps::startNewMap(editor, 40, 40);
    editor.keyPressed(Qt::Key_Right);
    QSignalSpy repaints(&editor, &Editor::viewChanged);
    editor.pointerMoved({310, 180});
    QCOMPARE(editor.pointerCaption(), QStringLiteral("Mouse: (14)(7)"));
    editor.pointerMoved({-1, -30});
    QCOMPARE(editor.pointerCaption(), QStringLiteral("Mouse: (1)(-2)"));
    QCOMPARE(repaints.count(), 0);
}

void TestEditor::messagesInSpanish_data()
{
    // Every message the editor shows, in the words of its box: title, text and icon.
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, EditorMessage message, const char* shown) {
        QTest::newRow(name) << int(message) << QString::fromUtf8(shown);
    };
    row("not a map to open", EditorMessage::NotAMapToOpen,
        "Abrir mapa|Selecciona un archivo .map|error");
    row("file corrupt", EditorMessage::FileCorrupt, "Abrir Archivo|El archivo está corrupto|error");
    row("file not readable", EditorMessage::FileNotReadable,
        "Abrir Archivo|No se puede abrir el archivo|error");
    row("starts missing", EditorMessage::StartsMissing,
        "Guardar Mapa|Asigna los comienzos de los jugadores|error");
    row("not a map to save", EditorMessage::NotAMapToSave,
        "Guardar mapa|Selecciona un archivo .map|error");
    row("size rejected", EditorMessage::SizeRejected,
        "Abrir Archivo|El mapa debe medir de 17 a 100 casillas de ancho y de alto|error");
    row("read failed", EditorMessage::ReadFailed,
        "Abrir Archivo|Al archivo le falta una parte del mapa o tiene un número fuera de "
        "rango|error");
    row("save failed", EditorMessage::SaveFailed,
        "Guardar Mapa|No se ha podido guardar el mapa|error");
    row("saved", EditorMessage::Saved, "Guardar Mapa|Se ha guardado el mapa|information");
}

void TestEditor::messagesInSpanish()
{
    QFETCH(int, message);
    QFETCH(QString, shown);
    QCOMPARE(shownAs(EditorMessage(message)), shown);
}

void TestEditor::openOutcomes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");    // "-" leaves no file
    QTest::addColumn<QList<int>>("messages"); // their kinds
    QTest::addColumn<QString>("detail");      // of the one message; {} is the file's folder
    const QByteArray valid = testmaps::exampleText();
    const auto one = [](EditorMessage kind) { return QList<int>{int(kind)}; };
    const auto row = [](const char* title, const char* name, const QByteArray& bytes,
                        const QList<int>& messages, const char* detail = "") {
        QTest::newRow(title) << QString::fromUtf8(name) << bytes << messages
                             << QString::fromUtf8(detail);
    };
    row("loaded", "bueno.map", valid, {});
    row("wrong extension", "bueno.txt", valid, one(EditorMessage::NotAMapToOpen));
    row("capital extension", "bueno.MAP", valid, one(EditorMessage::NotAMapToOpen));
    row("format error", "letra.map", "16,16,a,<fin>", one(EditorMessage::FileCorrupt),
        "archivo corrupto en el byte 6: la casilla de la columna 0, fila 0 es «a», que no es un "
        "número");
    row("not readable", "vacio.map", "", one(EditorMessage::FileNotReadable),
        "no se puede abrir: falta la marca <fin>");
    row("no file", "no-existe.map", "-", one(EditorMessage::FileNotReadable),
        "no se puede abrir: no existe el archivo o la carpeta");
    // Once these ended "Abrir" with no message at all.
    row("read failure", "corto.map", "16,16,0<fin>", one(EditorMessage::ReadFailed),
        "fallo de lectura en el byte 7: solo hay 1 de las 289 casillas");
    row("size rejected", "grande.map", "100,16,<fin>", one(EditorMessage::SizeRejected),
        "tamaño rechazado en el byte 0: el ancho 100 da 101 columnas; el editor abre de 17 a 100 "
        "columnas");
    // Files that are plainly something else, with what to do, naming the file for a shell.
    row("git's conflict markers", "en conflicto.map",
        "<<<<<<< HEAD\n" + valid + "\n=======\n" + valid + "\n>>>>>>> suya\n",
        one(EditorMessage::FileNotReadable),
        "Este mapa tiene las marcas de conflicto que git escribe cuando no conoce el mezclador "
        "de mapas. Para que git lo mezcle casilla a casilla, ejecute en una terminal:\n\n"
        "cd -- {} && quintaraz-map git-setup && git checkout -m -- 'en conflicto.map'\n\n"
        "quintaraz-map git-setup se ejecuta una vez en cada copia del repositorio (o una sola "
        "vez con --global, para todas las del usuario); git checkout -m vuelve a mezclar el "
        "mapa, ya con el mezclador de mapas.");
    row("a byte-order mark before a map", "bom.map", "\xEF\xBB\xBF" + valid,
        one(EditorMessage::FileNotReadable),
        "no se puede abrir: el archivo empieza con la marca de orden de bytes de UTF-8 (BOM), "
        "que algunos editores de Windows escriben y el juego no lee; sin ella es un mapa: "
        "guárdelo como UTF-8 sin BOM, o quítela con `sed -i '1s/^\\xEF\\xBB\\xBF//' -- "
        "{}/bom.map`");
    row("a Git LFS pointer", "lfs.map",
        "version https://git-lfs.github.com/spec/v1\noid sha256:"
        "4d7a214614ab2935c943f9e0ff69d22eadbb8f32b1258daaa5e2ca24d17e2393\nsize 722\n",
        one(EditorMessage::FileNotReadable),
        "no se puede abrir: es un puntero de Git LFS, no el mapa: LFS guarda el mapa aparte y "
        "deja en su lugar este texto, que solo lo nombra; `git lfs pull` trae los mapas, pero "
        "git no puede mezclar punteros casilla a casilla: los mapas son texto pequeño y no "
        "necesitan LFS");
}

void TestEditor::openOutcomes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, messages);
    QFETCH(QString, detail);
    const QString file = folder.filePath(name);
    QVERIFY(bytes == "-" || testmaps::writeFile(file, bytes));

    Editor editor(art, dialogs);
    testmaps::startNewMap(editor, 40, 40);
    editor.document().map.setTerrainAt(3, 3, 4);
    for (int i = 0; i < 10; ++i)
        editor.keyPressed(Qt::Key_Right);
    const MapDocument before = editor.document();
    const QImage viewBefore = editor.view().copy();
    const QString sizeBefore = editor.sizeCaption();

    QSignalSpy failures(&editor, &Editor::openFailed);
    dialogs.filesToChoose = {file};
    editor.open();
    const bool loaded = name == QLatin1String("bueno.map");
    QCOMPARE(kindsOf(dialogs.messages), messages);
    if (!messages.isEmpty())
        QCOMPARE(dialogs.messages[0].detail, QString(detail).replace("{}", folder.path()));
    // A map that did not open is said for a terminal too, in the map tool's words.
    const bool mapFailed =
        !loaded && !name.endsWith(QLatin1String(".MAP")) && !name.endsWith(QLatin1String(".txt"));
    QCOMPARE(failures.count(), mapFailed ? 1 : 0);
    if (mapFailed)
        QCOMPARE(failures[0][0].toString(), file);
    if (!loaded) {
        QVERIFY(editor.document() == before);
        QCOMPARE(editor.view(), viewBefore);
        QCOMPARE(editor.sizeCaption(), sizeBefore);
        return;
    }
    QCOMPARE(editor.sizeCaption(), QStringLiteral("Ancho = 16\nAlto = 16"));
    // The origin (20, 0) lies beyond the 17-column map: brought back to (1, 0).
    QCOMPARE(editor.scrollCaption(), QStringLiteral("cx (1) cy (0)"));
    QCOMPARE(editor.document().map.terrainAt(3, 3), std::int16_t(0));
    QVERIFY(editor.view() != viewBefore);
}

void TestEditor::openedMapCanBeSavedAtOnce()
{
    const QString source = path("fuente.map");
    const QString copy = path("copia.map");
    QVERIFY(testmaps::writeFile(source, testmaps::exampleText()));
    Editor editor(art, dialogs);
    dialogs.filesToChoose = {source, copy};
    editor.open();
    QVERIFY(editor.document().mapLoaded);
    editor.save();
    QCOMPARE(kindsOf(dialogs.messages), QList<int>{int(EditorMessage::Saved)});
    QCOMPARE(testmaps::readFile(copy), testmaps::exampleText());
}

void TestEditor::saveChecksInOrder_data()
{
    QTest::addColumn<bool>("allStarts");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("messages"); // their kinds
    const auto one = [](EditorMessage kind) { return QList<int>{int(kind)}; };
    QTest::newRow("cancelled") << true << "" << QList<int>();
    QTest::newRow("starts before extension")
        << false << "mapa.txt" << one(EditorMessage::StartsMissing);
    QTest::newRow("starts missing") << false << "mapa.map" << one(EditorMessage::StartsMissing);
    QTest::newRow("wrong extension") << true << "mapa.txt" << one(EditorMessage::NotAMapToSave);
    QTest::newRow("saved") << true << "mapa.map" << one(EditorMessage::Saved);
}

void TestEditor::saveChecksInOrder()
{
    QFETCH(bool, allStarts);
    QFETCH(QString, name);
    QFETCH(QList<int>, messages);
    Editor editor(art, dialogs);
    testmaps::startNewMap(editor, 16, 16);
    editor.selectStartTool();
    for (int p = 0; p < (allStarts ? 8 : 7); ++p)
        editor.pressMap({25.0 * p, 0}, p);
    const QString file = name.isEmpty() ? QString() : folder.filePath(name);
    QFile::remove(file);
    dialogs.filesToChoose = {file};
    editor.save();
    QCOMPARE(dialogs.fileRequests, 1);
    QCOMPARE(kindsOf(dialogs.messages), messages);
    const bool saved = messages == QList<int>{int(EditorMessage::Saved)};
    QCOMPARE(QFile::exists(file), saved);
    if (saved) {
        const MapReading reopened = readMapFile(file);
        QCOMPARE(reopened.outcome, LoadOutcome::Loaded);
        QCOMPARE(reopened.map, editor.document().map);
    }
}

void TestEditor::failedSaveSaysSo()
{
    const QString file = path("guardado.map");
    QVERIFY(testmaps::writeFile(file, "old"));
    Editor editor(art, dialogs);
    const MapDocument example = testmaps::exampleMap();
    editor.document() = example;
    // A folder where the file should be, and a folder that does not exist.
    dialogs.filesToChoose = {folder.path() + QStringLiteral("/nada/x.map"),
                             folder.path() + QStringLiteral("/.map")};
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral(".map")));
    editor.save();
    editor.save();
    QCOMPARE(kindsOf(dialogs.messages), QList<int>(2, int(EditorMessage::SaveFailed)));
    // Each says why, in Spanish.
    QCOMPARE(dialogs.messages[0].detail, QStringLiteral("no existe el archivo o la carpeta"));
    QCOMPARE(dialogs.messages[1].detail,
             folder.path() + QStringLiteral("/.map no es un archivo normal"));
    QCOMPARE(testmaps::readFile(file), QByteArray("old"));
    // The editor goes on: the next save works.
    dialogs.filesToChoose = {file};
    editor.save();
    QCOMPARE(dialogs.messages.last().kind, EditorMessage::Saved);
    QCOMPARE(testmaps::readFile(file), testmaps::exampleText());
}

QTEST_GUILESS_MAIN(TestEditor)
#include "tst_editor.moc"
