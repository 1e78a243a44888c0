// Maps in Tiled and back: the map tool's export and import, the extension that opens and
// saves .map files inside Tiled, and what real Tiled 1.8 writes and draws.

#include "map/mapproblems.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "map/problemtext.h"
#include "programrun.h"
#include "testmaps.h"
#include "tiled/gidmapper.h"
#include "tiled/tiledreader.h"
#include "tiled/tiledwriter.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace quintaraz;

namespace {

const QString fixtures = QStringLiteral(QUINTARAZ_TILED_FIXTURES);
const QString cases = QStringLiteral(QUINTARAZ_TILED_CASES);
// The build's copy of what the package installs for Tiled.
const QString installed = QStringLiteral(QUINTARAZ_TILED_DATA);

/**
 * Runs a program to its end in folder. Tiled runs headless, with a home of its own that
 * holds our extension, and finds quintaraz-map on the PATH. The map tool finds installed
 * tilesets in tilesets only, none by default, whatever this machine has installed.
 */
ProgramRun run(const QString& program, const QStringList& arguments, const QString& folder,
               const QString& tilesets = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUINTARAZ_TILED_TILESETS"), tilesets);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), folder);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(QUINTARAZ_MAP)).path() +
                                                   u':' +
                                                   environment.value(QStringLiteral("PATH")));
    return runProgram(program, arguments, folder, environment);
}

ProgramRun tool(const QStringList& arguments, const QString& folder, const QString& tilesets = {})
{
    return run(QStringLiteral(QUINTARAZ_MAP), arguments, folder, tilesets);
}

ProgramRun tiledSaves(const QStringList& arguments, const QString& folder)
{
    return run(QStringLiteral("tiled"), QStringList{QStringLiteral("--export-map")} + arguments,
               folder);
}

/** A map of that size with every terrain and each player's start on a cell of its own. */
QByteArray mapOfSize(int columns, int rows)
{
    GameMap map = testmaps::mapOfSize(columns - 1, rows - 1).map;
    for (int x = 0; x < columns; ++x)
        for (int y = 1; y < rows; ++y)
            map.setTerrainAt(x, y, std::int16_t((x * 3 + y * 7 + x * y) % 6));
    return mapText(map);
}

/** Problems as map makers read them, a line each. */
QString texts(const std::vector<MapProblem>& problems)
{
    QStringList lines;
    for (const MapProblem& problem : problems)
        lines << problemText(problem);
    return lines.join(u'\n');
}

/** The fixtures' map with player 3's start where a drag in Tiled left it. */
QByteArray fixtureMapWithPlayer3At(int column, int row)
{
    MapReading reading =
        readMapText(testmaps::readFile(fixtures + QStringLiteral("/mapa.map")).toStdString());
    reading.map.starts[2] = GridPoint{std::int16_t(column), std::int16_t(row)};
    return mapText(reading.map);
}

/**
 * The cases that the table FILE.ediciones makes of FILE, each by changing one line of it:
 * "NAME | LINE | WHAT IT HOLDS | WHAT IT HOLDS INSTEAD". Empty when a line of the table is
 * not such, or the line it names does not hold what it says.
 */
QList<std::pair<QString, QByteArray>> editedCases(const QString& file)
{
    const QList<QByteArray> lines = testmaps::readFile(file).split('\n');
    QList<std::pair<QString, QByteArray>> made;
    for (const QByteArray& entry :
         testmaps::readFile(file + QStringLiteral(".ediciones")).split('\n')) {
        if (entry.trimmed().isEmpty() || entry.startsWith('#'))
            continue;
        const QList<QByteArray> parts = entry.split('|');
        const int line = parts.value(1).trimmed().toInt() - 1;
        if (parts.size() != 4 || line < 0 || line >= lines.size() ||
            lines[line].trimmed() != parts[2].trimmed())
            return {};
        QList<QByteArray> edited = lines;
        const qsizetype indent = lines[line].indexOf(parts[2].trimmed());
        edited[line] = lines[line].left(indent) +
                       parts[3].trimmed().replace("\\uFEFF", QByteArray("\xEF\xBB\xBF"));
        made.append({QString::fromUtf8(parts[0].trimmed()), edited.join('\n')});
    }
    return made;
}

} // namespace

class TestTiled : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void tiledKeepsEveryMap_data();
    void tiledKeepsEveryMap();
    void tiledOpensAndSavesMapsThroughTheExtension();
    void tiledDrawsWhatRenderDraws_data();
    void tiledDrawsWhatRenderDraws();
    void filesSavedByTiled_data();
    void filesSavedByTiled();
    void refusals_data();
    void refusals();
    void theToolWritesOnlyWhatItMay();
    void filesAtTheDoor_data();
    void filesAtTheDoor();
    void exportReplacesOnlyWhatItMay_data();
    void exportReplacesOnlyWhatItMay();
    void exportWritesAllOrNone_data();
    void exportWritesAllOrNone();
    void aFailedExportLeavesNothingNew();
    void theInstalledTilesetsNameTheirTiles();
    void newMaps_data();
    void newMaps();
    void newRefusesWhatItMay();
    void tileNumbersAtAGlanceAsLookedUp_data();
    void tileNumbersAtAGlanceAsLookedUp();
};

void TestTiled::tileNumbersAtAGlanceAsLookedUp_data()
{
    // Tilesets by their first numbers, as maps list them: ours, in either order, crowded,
    // sharing a first number, and the first numbers 0 and -3 that damaged files hold.
    QTest::addColumn<QList<qint64>>("firstGids");
    QTest::newRow("ours") << QList<qint64>{1, 7};
    QTest::newRow("players first") << QList<qint64>{7, 1};
    QTest::newRow("crowded") << QList<qint64>{1, 4, 5, 20};
    QTest::newRow("one first number") << QList<qint64>{3, 3, 12};
    QTest::newRow("zero and below") << QList<qint64>{0, -3, 10};
}

void TestTiled::tileNumbersAtAGlanceAsLookedUp()
{
    // A number in a tileset's range is, at a glance, what the lookup says of it; and of a
    // tileset numbered from 1 or more, each unflipped number of one of its first tiles is
    // in its range. Damaged numberings are left to the lookup.
    QFETCH(QList<qint64>, firstGids);
    const tiled::GidMapper gids(std::vector<qint64>(firstGids.begin(), firstGids.end()));
    for (int tileset = -1; tileset < int(firstGids.size()); ++tileset) {
        for (const qint64 count : {1, 6, 30}) {
            const tiled::GidMapper::GidRange range = gids.unflippedRange(tileset, count);
            for (quint32 gid = 0; gid < 60; ++gid) {
                for (const quint32 flip : {0u, 0x80000000u}) {
                    const tiled::TileRef tile = gids.tileOf(gid | flip);
                    const bool looked =
                        tileset >= 0 && tile.tileset == tileset && tile.id < count && !tile.flipped;
                    const bool sane = tileset >= 0 && firstGids[tileset] >= 1;
                    QVERIFY2(range.contains(gid | flip) ? looked : !(looked && sane),
                             qPrintable(QStringLiteral("tileset %1, %2 tiles, number %3")
                                            .arg(tileset)
                                            .arg(count)
                                            .arg(gid | flip)));
                    if (looked)
                        QCOMPARE(qint64((gid | flip) - range.first), tile.id);
                }
            }
        }
    }
}

void TestTiled::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("tiled")).isEmpty(),
             "tiled is installed by scripts/install-deps test");
    QVERIFY(!QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer")).isEmpty());
}

void TestTiled::tiledKeepsEveryMap_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QString>("format"); // the extension of Tiled's file
    const QByteArray withOddStarts = testmaps::readFile(fixtures + QStringLiteral("/mapa.map"));
    for (const char* format : {"tmx", "tmj"}) {
        QTest::addRow("17x17, %s", format) << testmaps::exampleText() << format;
        // Player 4 on the last column, players 7 and 8 side by side.
        QTest::addRow("starts on the edges, %s", format) << withOddStarts << format;
        QTest::addRow("100x100, %s", format) << mapOfSize(100, 100) << format;
    }
}

void TestTiled::tiledKeepsEveryMap()
{
    // Exported, saved again by Tiled itself, imported: the same bytes.
    QFETCH(QByteArray, map);
    QFETCH(QString, format);
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("mapa.map")), map));
    const QString exported = QStringLiteral("mapa.") + format;
    const QString saved = QStringLiteral("guardado.") + format;
    QCOMPARE(tool({QStringLiteral("export"), QStringLiteral("mapa.map"), exported}, folder.path())
                 .status,
             0);
    const QStringList tiledFormat =
        format == QLatin1String("tmj") ? QStringList{"json"} : QStringList{};
    QCOMPARE(tiledSaves(tiledFormat + QStringList{exported, saved}, folder.path()).status, 0);
    const ProgramRun back =
        tool({QStringLiteral("import"), saved, QStringLiteral("vuelta.map")}, folder.path());
    QCOMPARE(back.err, QString());
    QCOMPARE(back.status, 0);
    QCOMPARE(testmaps::readFile(folder.filePath(QStringLiteral("vuelta.map"))), map);
}

void TestTiled::tiledOpensAndSavesMapsThroughTheExtension()
{
    // As a user enables it: the installed folder copied into Tiled's extensions. Its scratch
    // folders go to a temporary folder of the test's own, which is empty again afterwards.
    QTemporaryDir home;
    const QString scratch = home.filePath(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(scratch));
    qputenv("TMPDIR", scratch.toLocal8Bit());
    const QString extensions = home.filePath(QStringLiteral(".config/tiled/extensions/quintaraz"));
    QVERIFY(QDir().mkpath(extensions));
    QVERIFY(QFile::copy(QStringLiteral(QUINTARAZ_TILED_EXTENSION),
                        extensions + QStringLiteral("/quintaraz.js")));
    const QByteArray map = testmaps::readFile(fixtures + QStringLiteral("/mapa.map"));
    QVERIFY(testmaps::writeFile(home.filePath(QStringLiteral("valle.map")), map));
    QCOMPARE(
        tiledSaves({QStringLiteral("valle.map"), QStringLiteral("valle.tmx")}, home.path()).status,
        0);
    QCOMPARE(tiledSaves({QStringLiteral("quintaraz"), QStringLiteral("valle.tmx"),
                         QStringLiteral("otra.map")},
                        home.path())
                 .status,
             0);
    QCOMPARE(testmaps::readFile(home.filePath(QStringLiteral("otra.map"))), map);

    // What is wrong with a map reaches Tiled in the map tool's own words.
    QVERIFY(testmaps::writeFile(home.filePath(QStringLiteral("roto.map")), "16,16,0,a,<fin>"));
    const ProgramRun damaged =
        tiledSaves({QStringLiteral("roto.map"), QStringLiteral("roto.tmx")}, home.path());
    QVERIFY(damaged.status != 0);
    QVERIFY2(damaged.err.contains(QStringLiteral("roto.map: archivo corrupto en el byte 8")),
             qPrintable(damaged.err));

    // A map that breaks a rule is not saved.
    QVERIFY(QFile::copy(cases + QStringLiteral("/fuera-del-mapa.tmx"),
                        home.filePath(QStringLiteral("fuera.tmx"))));
    const ProgramRun refused = tiledSaves(
        {QStringLiteral("quintaraz"), QStringLiteral("fuera.tmx"), QStringLiteral("fuera.map")},
        home.path());
    QVERIFY(refused.status != 0);
    QVERIFY(!QFile::exists(home.filePath(QStringLiteral("fuera.map"))));
    // Tiled keeps a lock file and a runtime folder there too.
    QCOMPARE(QDir(scratch).entryList({QStringLiteral("quintaraz-tiled.*")},
                                     QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    qunsetenv("TMPDIR");
}

void TestTiled::tiledDrawsWhatRenderDraws_data()
{
    QTest::addColumn<QStringList>("rasterizer"); // options of tmxrasterizer
    QTest::addColumn<int>("cell");               // render's --cell
    QTest::addColumn<QString>("tilesets");       // the installed tilesets' folder, if any
    QTest::newRow("25 pixels") << QStringList{} << 25 << QString();
    QTest::newRow("10 pixels, no smoothing")
        << QStringList{"--tilesize", "10", "--no-smoothing"} << 10 << QString();
    QTest::newRow("installed tilesets") << QStringList{} << 25 << installed;
}

void TestTiled::tiledDrawsWhatRenderDraws()
{
    QFETCH(QStringList, rasterizer);
    QFETCH(int, cell);
    QFETCH(QString, tilesets);
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("mapa.map")), mapOfSize(40, 30)));
    QCOMPARE(
        tool({QStringLiteral("export"), QStringLiteral("mapa.map"), QStringLiteral("mapa.tmx")},
             folder.path(), tilesets)
            .status,
        0);
    // With installed tilesets, nothing but the map beside it.
    QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("terrenos.png"))), tilesets.isEmpty());
    QCOMPARE(run(QStringLiteral("tmxrasterizer"),
                 rasterizer + QStringList{QStringLiteral("mapa.tmx"), QStringLiteral("tiled.png")},
                 folder.path())
                 .status,
             0);
    QCOMPARE(tool({QStringLiteral("render"), QStringLiteral("mapa.map"),
                   QStringLiteral("render.png"), QStringLiteral("--cell"), QString::number(cell)},
                  folder.path())
                 .status,
             0);
    const QImage drawnByTiled =
        QImage(folder.filePath(QStringLiteral("tiled.png"))).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawnByTiled.size(), QSize(40 * cell, 30 * cell));
    QCOMPARE(drawnByTiled, QImage(folder.filePath(QStringLiteral("render.png")))
                               .convertToFormat(QImage::Format_RGB32));
}

void TestTiled::filesSavedByTiled_data()
{
    // Made by tests/tiled/make-fixtures: our export of mapa.map in each form of layer data,
    // saved again by Tiled 1.8.2.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("map"); // what it imports as
    QTest::addColumn<QString>("said");   // the refusal, or the warning
    const QByteArray map = testmaps::readFile(fixtures + QStringLiteral("/mapa.map"));
    for (const char* form : {"csv", "base64", "zlib", "gzip", "zstd"})
        for (const char* format : {"tmx", "tmj"})
            QTest::addRow("%s.%s", form, format)
                << QStringLiteral("%1.%2").arg(form, format) << map << QString();
    QTest::newRow("xml.tmx") << QStringLiteral("xml.tmx") << map << QString();
    // Tilesets in files of their own, properties, a layer's opacity and an object's type.
    QTest::newRow("externo.tmx") << QStringLiteral("externo.tmx") << map << QString();
    // Player 3 dragged to x 257.895, y 111.2: the cell under the marker's centre.
    QTest::newRow("flipped, and a start dragged")
        << QStringLiteral("volteado.tmx") << fixtureMapWithPlayer3At(10, 3)
        << QStringLiteral("3 patrones o marcadores estaban girados o volteados; el editor los "
                          "guarda sin girar");
    QTest::newRow("infinite") << QStringLiteral("infinito.tmx") << QByteArray()
                              << QStringLiteral("el mapa es infinito: desmarca Infinito en Mapa > "
                                                "Atributos del Mapa… (Map > Map Properties…)");
}

void TestTiled::filesSavedByTiled()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, map);
    QFETCH(QString, said);
    const TiledReading reading = readTiledFile(fixtures + u'/' + file);
    if (map.isEmpty()) {
        QCOMPARE(texts(reading.problems), said);
        return;
    }
    QCOMPARE(texts(reading.problems), QString());
    QCOMPARE(texts(reading.warnings), said);
    QCOMPARE(mapText(reading.map), map);
}

void TestTiled::refusals_data()
{
    // Our own export of the 17x17 example, changed as a user or another program might.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("refusal"); // how the reason begins
    QString error;
    const MapReading example = readMapText(testmaps::exampleText().toStdString());
    const QByteArray tmx = tiledText(example.map, TiledFormat::Tmx, &error);
    const QByteArray tmj = tiledText(example.map, TiledFormat::Tmj, &error);
    const auto row = [](const char* title, QByteArray text, const char* from, const char* to,
                        const char* refusal) {
        QTest::newRow(title) << text.replace(from, to) << QString::fromUtf8(refusal);
    };
    row("infinite", tmx, "infinite=\"0\"", "infinite=\"1\"",
        "el mapa es infinito: desmarca Infinito");
    row("infinite JSON", tmj, "\"infinite\": false", "\"infinite\": true",
        "el mapa es infinito: desmarca Infinito");
    row("isometric", tmx, "orthogonal", "isometric",
        "el mapa es «isometric»: el editor solo tiene mapas ortogonales");
    row("other tiles", tmx, "tilewidth=\"25\" tileheight=\"25\" infinite",
        "tilewidth=\"32\" tileheight=\"32\" infinite",
        "los patrones miden 32 x 32 píxeles; los del editor, 25 x 25");
    row("too wide", tmx, "width=\"17\" height=\"17\" tilewidth",
        "width=\"101\" height=\"17\" tilewidth",
        "el mapa mide 101x17 casillas; el editor abre de 17 a 100 por lado: cámbialo con Mapa > "
        "Redimensionar Mapa… (Map > Resize Map…)\nla capa «terreno»: tiene 289 patrones y el "
        "mapa 1717 casillas");
    row("huge", tmj, "\"width\": 17", "\"width\": 1000000000",
        "el mapa mide 1000000000x17 casillas");
    row("an empty cell", tmx, "<data encoding=\"csv\">\n1,", "<data encoding=\"csv\">\n0,",
        "la capa «terreno» tiene 1 casilla vacía (columna 0, fila 0): rellénala con el patrón "
        "Hierba de «terrenos»");
    row("a marker among the terrain", tmx, "<data encoding=\"csv\">\n1,",
        "<data encoding=\"csv\">\n9,",
        "la capa «terreno» tiene 1 casilla pintada con patrones de «jugadores», no de «terrenos» "
        "(columna 0, fila 0)");
    row("a cell too few", tmx, "<data encoding=\"csv\">\n1,", "<data encoding=\"csv\">\n",
        "la capa «terreno»: tiene 288 patrones y el mapa 289 casillas");
    row("a cell too many", tmx, "<data encoding=\"csv\">\n1,", "<data encoding=\"csv\">\n1,1,",
        "la capa «terreno»: tiene más patrones que las 289 casillas del mapa");
    // The reader gets the text between two comments as parts of its own: a number is read
    // whole across them.
    row("a number cut by comments", tmx, "<data encoding=\"csv\">\n1,",
        "<data encoding=\"csv\">\n1<!-- a -->2<!-- b -->x,",
        "la capa «terreno»: «12x» no es el número de un patrón");
    {
        // Every other column empty: six areas named, the rest counted.
        const qsizetype from = tmx.indexOf("<data encoding=\"csv\">");
        const qsizetype to = tmx.indexOf("</data>");
        QTest::newRow("empty cells in many areas")
            << tmx.left(from) + tmx.mid(from, to - from).replace("1,1,", "0,1,") + tmx.mid(to)
            << QStringLiteral("la capa «terreno» tiene 136 casillas vacías (columna 0, filas 0–16; "
                              "columna 2, filas 0–16; columna 4, filas 0–16; columna 6, filas "
                              "0–16; columna 8, filas 0–16; columna 10, filas 0–16 y 2 zonas más)");
        const qsizetype layer = tmx.indexOf("<layer");
        const qsizetype end = tmx.indexOf("</layer>") + 8;
        QTest::newRow("the terrain layer twice")
            << tmx.left(end) + tmx.mid(layer, end - layer) + tmx.mid(end)
            << QStringLiteral("hay 2 capas «terreno»: deja solo una");
    }
    row("no terrain tileset", tmx, "name=\"terrenos\"", "name=\"suelos\"",
        "falta el conjunto de patrones «terrenos»: añade terrenos.tsx");
    row("no terrain layer", tmx, "name=\"terreno\"", "name=\"suelo\"",
        "falta la capa de patrones «terreno»: dale ese nombre");
    row("a player twice", tmx, "gid=\"14\"", "gid=\"13\"",
        "el jugador 7 tiene más de un marcador en «comienzos»: el objeto 7, en la columna 12, "
        "fila 16, y el objeto 8, en la columna 16, fila 16; borra uno");
    row("a player missing", tmx,
        "<object id=\"8\" name=\"Jugador 8\" gid=\"14\" x=\"400\" y=\"425\" width=\"25\" "
        "height=\"25\"/>",
        "", "falta el marcador del jugador 8 en «comienzos»: ponlo con Insertar Patrón");
    row("a start rotated", tmx, "name=\"Jugador 1\"", "name=\"Jugador 1\" rotation=\"90\"",
        "el marcador del jugador 1 (objeto 1, en la columna 2, fila 3 de «comienzos») está girado "
        "90 grados: pon a 0 su Rotación");
    row("a start not a marker", tmx, "\"Jugador 1\" gid=\"7\"", "\"Jugador 1\" gid=\"3\"",
        "el objeto 1 de «comienzos», en la columna 2, fila 3, no es el marcador de ningún "
        "jugador");
    row("a start off the grid", tmx, "x=\"50\" y=\"100\"", "x=\"2600\" y=\"100\"",
        "el marcador del jugador 1 (objeto 1, en la columna 104, fila 3 de «comienzos») cae fuera "
        "del mapa de 17x17 casillas");
    const auto base64 = [&](const char* compression, const QByteArray& data) {
        return tmx.left(tmx.indexOf("<data")) + QByteArray("<data encoding=\"base64\"") +
               (*compression ? QByteArray(" compression=\"") + compression + '"' : QByteArray()) +
               '>' + data.toBase64() + "</data>" + tmx.mid(tmx.indexOf("</data>") + 7);
    };
    const auto refusal = [](const char* title, const QByteArray& text, const char* reason) {
        QTest::newRow(title) << text << QString::fromUtf8(reason);
    };
    refusal("bad base64", base64("", {}).replace("></data>", ">@@@@</data>"),
            "la capa «terreno»: los datos no son base64 válido");
    refusal("damaged zlib", base64("zlib", "no es zlib"),
            "la capa «terreno»: los datos comprimidos con zlib están dañados");
    refusal("damaged zstd", base64("zstd", "no es zstd"),
            "la capa «terreno»: los datos comprimidos con zstd están dañados");
    // Far more than the map's 289 cells of 4 bytes once inflated; never held whole.
    refusal("zlib bomb", base64("zlib", qCompress(QByteArray(64 << 20, '\1')).mid(4)),
            "la capa «terreno»: tiene más patrones que las 289 casillas del mapa");
    refusal("unknown compression", base64("lzma", "x"),
            "la capa «terreno»: usa la compresión «lzma»");
    refusal("not Tiled", "16,16,0,", "no es un mapa de Tiled (TMX o JSON)");
    refusal("XML cut short", tmx.left(300), "el XML no es válido en la línea");
    refusal("JSON cut short", tmj.left(300), "el JSON no es válido en la línea");
    refusal("over 4 MiB", tmx + QByteArray(4 << 20, ' '),
            "mide más de 4 MiB y ningún mapa para el editor es tan grande");
}

void TestTiled::refusals()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, refusal);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("mapa.tmx"));
    QVERIFY(testmaps::writeFile(file, text));
    const TiledReading reading = readTiledFile(file);
    QVERIFY2(texts(reading.problems).startsWith(refusal), qPrintable(texts(reading.problems)));
}

void TestTiled::theToolWritesOnlyWhatItMay()
{
    QTemporaryDir folder;
    const auto write = [&](const char* name, const QByteArray& text) {
        QVERIFY(testmaps::writeFile(folder.filePath(QLatin1String(name)), text));
    };
    QByteArray unknown = testmaps::exampleText();
    write("raro.map", unknown.replace(6, 1, "7")); // terrain 7 has no picture
    write("enlazador.map", "Archive member included to satisfy reference by file\n");
    write("mapa.map", testmaps::exampleText());
    QCOMPARE(tool({"export", "mapa.map", "mapa.tmx"}, folder.path()).status, 0);
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    const auto refused = [&](const QStringList& arguments, int status, const QString& said) {
        const ProgramRun result = tool(arguments, folder.path());
        QCOMPARE(result.status, status);
        QVERIFY2(result.err.startsWith(said), qPrintable(result.err));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), before);
    };
    refused(
        {"export", "raro.map", "raro.tmx"}, 1,
        "quintaraz-map: raro.map: la casilla de la columna 0, fila 0 tiene el terreno 7, que no "
        "tiene dibujo");
    refused({"export", "mapa.map", "mapa.png"}, 2,
            "quintaraz-map: la salida debe terminar en .tmx o en .tmj");
    refused({"import", "mapa.tmx", "mapa.tmx.txt"}, 2,
            "quintaraz-map: la salida debe terminar en .map");
    refused({"import", "mapa.tmx", "enlazador.map"}, 1,
            "quintaraz-map: enlazador.map: ya existe y no es un mapa; no se sobrescribe");
}

void TestTiled::filesAtTheDoor_data()
{
    // Each file beside FILE.esperado: the exit status of importing it, then what the import
    // says, line by line. Hostile files, and the mistakes a map maker makes in Tiled; and the
    // cases that a table of small edits makes of a file.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QDir folder(cases);
    const QStringList files =
        folder.entryList({QStringLiteral("*.tmx"), QStringLiteral("*.tmj")}, QDir::Files);
    QVERIFY(files.size() > 20);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << file << testmaps::readFile(folder.filePath(file));
    const QStringList tables = folder.entryList({QStringLiteral("*.ediciones")}, QDir::Files);
    QVERIFY(!tables.isEmpty());
    for (const QString& table : tables) {
        const auto edited = editedCases(folder.filePath(QFileInfo(table).completeBaseName()));
        QVERIFY2(edited.size() >= 9, qPrintable(table));
        for (const auto& [file, bytes] : edited)
            QTest::newRow(qPrintable(file)) << file << bytes;
    }
}

void TestTiled::filesAtTheDoor()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    const QString name = QFileInfo(file).completeBaseName();
    const QList<QByteArray> expected =
        testmaps::readFile(cases + u'/' + file + QStringLiteral(".esperado")).split('\n');
    QVERIFY2(expected.size() > 1, qPrintable(file + QStringLiteral(".esperado")));
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(file), bytes));
    const ProgramRun result =
        tool({QStringLiteral("import"), file, name + QStringLiteral(".map")}, folder.path());
    QCOMPARE(result.err, QString::fromUtf8(expected.mid(1).join('\n')));
    QCOMPARE(result.status, expected.first().toInt());
    // Nothing written when refused; a map that opens as it was drawn when not.
    const QString map = folder.filePath(name + QStringLiteral(".map"));
    QCOMPARE(QFile::exists(map), result.status == 0);
    if (result.status == 0)
        QCOMPARE(readMapFile(map).outcome, LoadOutcome::Loaded);

    // The same problems and warnings as data, each with its kind, for programs.
    QVERIFY(QFile::remove(map) || result.status != 0);
    const ProgramRun json = tool(
        {QStringLiteral("import"), QStringLiteral("--json"), file, name + QStringLiteral(".map")},
        folder.path());
    QCOMPARE(json.status, result.status);
    QCOMPARE(json.err, QString());
    const QJsonObject said = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(said.value(QStringLiteral("guardado")).toBool(), result.status == 0);
    QStringList lines;
    for (const char* list : {"problemas", "avisos"}) {
        for (const QJsonValue& problem : said.value(QLatin1String(list)).toArray()) {
            const QJsonObject object = problem.toObject();
            QVERIFY2(!object.value(QStringLiteral("tipo")).toString().isEmpty(),
                     qPrintable(json.out));
            lines << QStringLiteral("quintaraz-map: %1: %2%3")
                         .arg(file, *list == 'a' ? QStringLiteral("aviso: ") : QString(),
                              object.value(QStringLiteral("texto")).toString());
        }
    }
    QCOMPARE(lines.join(u'\n') + (lines.isEmpty() ? "" : "\n"), result.err);
}

void TestTiled::exportReplacesOnlyWhatItMay_data()
{
    // A file that is there before the export, and what the export does with it.
    QTest::addColumn<QString>("output");   // the export's output
    QTest::addColumn<QString>("existing"); // the file there before
    QTest::addColumn<QByteArray>("bytes"); // what it holds; empty: what the export writes
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("replaced");
    const QByteArray package = "{\"name\": \"quintaraz-tiled\"}\n";
    QTest::newRow("a package.json") << "package.json"
                                    << "package.json" << package << false << false;
    QTest::newRow("a TMX edited in Tiled")
        << "mapa.tmx"
        << "mapa.tmx" << QByteArray("<?xml version=\"1.0\"?>\n<map version=\"1.8\"/>\n") << false
        << false;
    QImage other(150, 25, QImage::Format_RGB32);
    other.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && other.save(&buffer, "PNG"));
    QTest::newRow("a picture of that name") << "mapa.tmx"
                                            << "terrenos.png" << png << false << false;
    QTest::newRow("the same bytes") << "mapa.tmx"
                                    << "mapa.tmx" << QByteArray() << false << true;
    QTest::newRow("a TMX edited in Tiled, --force")
        << "mapa.tmx"
        << "mapa.tmx" << QByteArray("<map/>") << true << true;
    QTest::newRow("a picture of that name, --force") << "mapa.tmx"
                                                     << "terrenos.png" << png << true << true;
}

void TestTiled::exportReplacesOnlyWhatItMay()
{
    QFETCH(QString, output);
    QFETCH(QString, existing);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, force);
    QFETCH(bool, replaced);
    // What the export writes, made in a folder of its own.
    QTemporaryDir made;
    QVERIFY(
        testmaps::writeFile(made.filePath(QStringLiteral("mapa.map")), testmaps::exampleText()));
    QCOMPARE(
        tool({QStringLiteral("export"), QStringLiteral("mapa.map"), output}, made.path()).status,
        0);
    const QStringList written = QDir(made.path()).entryList(QDir::Files);

    QTemporaryDir folder;
    QVERIFY(QFile::copy(made.filePath(QStringLiteral("mapa.map")),
                        folder.filePath(QStringLiteral("mapa.map"))));
    const QByteArray before = bytes.isEmpty() ? testmaps::readFile(made.filePath(existing)) : bytes;
    QVERIFY(testmaps::writeFile(folder.filePath(existing), before));
    const QStringList options = force ? QStringList{QStringLiteral("--force")} : QStringList{};
    const ProgramRun result =
        tool(QStringList{QStringLiteral("export")} + options + QStringList{"mapa.map", output},
             folder.path());
    QCOMPARE(result.err, replaced ? QString()
                                  : QStringLiteral("quintaraz-map: %1: ya existe con otro "
                                                   "contenido; no se sobrescribe (--force lo "
                                                   "reemplaza)\n")
                                        .arg(existing));
    QCOMPARE(result.status, replaced ? 0 : 1);
    if (!replaced) {
        // Nothing new beside it, and the person's file as it was.
        QStringList files{existing, QStringLiteral("mapa.map")};
        files.sort();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), files);
        QCOMPARE(testmaps::readFile(folder.filePath(existing)), before);
        return;
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), written);
    for (const QString& name : written)
        QCOMPARE(testmaps::readFile(folder.filePath(name)),
                 testmaps::readFile(made.filePath(name)));
}

void TestTiled::aFailedExportLeavesNothingNew()
{
    // The pictures fit in 4 KiB and the 100 by 100 map does not: the pictures written
    // first are gone again.
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("cien.map")), mapOfSize(100, 100)));
    const ProgramRun result =
        run(QStringLiteral("prlimit"),
            {QStringLiteral("--fsize=4096"), QStringLiteral(QUINTARAZ_MAP),
             QStringLiteral("export"), QStringLiteral("cien.map"), QStringLiteral("cien.tmx")},
            folder.path());
    QCOMPARE(result.status, 1);
    QVERIFY2(result.err.startsWith(QStringLiteral("quintaraz-map: cien.tmx: ")),
             qPrintable(result.err));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("cien.map")});
}

void TestTiled::theInstalledTilesetsNameTheirTiles()
{
    // Each tile of the installed tilesets says what it is, as Tiled shows it.
    QStringList terrains;
    for (const char* name : terrainNames)
        terrains << QString::fromUtf8(name);
    QStringList players;
    for (int p = 0; p < playerCount; ++p)
        players << QString::number(p + 1);
    for (const auto& [file, property, expected] :
         {std::tuple{"terrenos.tsx", "nombre", terrains}, {"jugadores.tsx", "jugador", players}}) {
        QFile tileset(installed + u'/' + QLatin1String(file));
        QVERIFY(tileset.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&tileset);
        QStringList values;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"property" &&
                xml.attributes().value(QLatin1String("name")) == QLatin1String(property))
                values << xml.attributes().value(QLatin1String("value")).toString();
        QCOMPARE(values, expected);
    }
}

void TestTiled::newMaps_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("the smallest") << 17 << 17;
    QTest::newRow("wide") << 100 << 17;
    QTest::newRow("tall") << 17 << 100;
    QTest::newRow("40 x 30") << 40 << 30;
    QTest::newRow("the largest") << 100 << 100;
}

void TestTiled::newMaps()
{
    // A new map as the map tool writes it, and as Tiled saves it through the extension after
    // opening the map that the tool wrote for it: the same map, all grass, with every start
    // on a cell of its own and nothing a game may not expect.
    QFETCH(int, columns);
    QFETCH(int, rows);
    QTemporaryDir home;
    const QString extensions = home.filePath(QStringLiteral(".config/tiled/extensions/quintaraz"));
    QVERIFY(QDir().mkpath(extensions));
    QVERIFY(QFile::copy(QStringLiteral(QUINTARAZ_TILED_EXTENSION),
                        extensions + QStringLiteral("/quintaraz.js")));
    const QStringList size{QString::number(columns), QString::number(rows)};
    QCOMPARE(tool(QStringList{"new"} + size + QStringList{"nuevo.map"}, home.path()).status, 0);
    QCOMPARE(
        tool(QStringList{"new"} + size + QStringList{"nuevo.tmx"}, home.path(), installed).status,
        0);
    // With the installed tilesets, nothing beside the map for Tiled.
    QCOMPARE(QDir(home.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("nuevo.map"), QStringLiteral("nuevo.tmx")}));
    QCOMPARE(tiledSaves({QStringLiteral("quintaraz"), QStringLiteral("nuevo.tmx"),
                         QStringLiteral("guardado.map")},
                        home.path())
                 .status,
             0);
    const QByteArray map = testmaps::readFile(home.filePath(QStringLiteral("nuevo.map")));
    QCOMPARE(testmaps::readFile(home.filePath(QStringLiteral("guardado.map"))), map);
    const MapReading reading = readMapText(map.toStdString());
    QCOMPARE(reading.outcome, LoadOutcome::Loaded);
    QCOMPARE(reading.map.columns(), columns);
    QCOMPARE(reading.map.rows(), rows);
    for (int k = 0; k < columns * rows; ++k)
        QCOMPARE(reading.map.terrain[k], terrainNumber(Terrain::Grass));
    QCOMPARE(reading.map.startCells().size(), std::size_t(playerCount));
    QCOMPARE(mapProblems(reading.map).size(), std::size_t(0));
}

void TestTiled::newRefusesWhatItMay()
{
    QTemporaryDir folder;
    QVERIFY(
        testmaps::writeFile(folder.filePath(QStringLiteral("valle.map")), testmaps::exampleText()));
    const auto refused = [&](const QStringList& arguments, int status, const QString& said) {
        const ProgramRun result = tool(QStringList{"new"} + arguments, folder.path());
        QCOMPARE(result.err, said);
        QCOMPARE(result.status, status);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"valle.map"});
        QCOMPARE(testmaps::readFile(folder.filePath(QStringLiteral("valle.map"))),
                 testmaps::exampleText());
    };
    const QString usage =
        QStringLiteral("Uso: quintaraz-map new [opciones] SALIDA.map|SALIDA.tmx|SALIDA.tmj\n");
    refused({"16", "40", "nuevo.map"}, 2,
            "quintaraz-map: COLUMNAS pide un número de 17 a 100\n" + usage);
    refused({"40", "101", "nuevo.map"}, 2,
            "quintaraz-map: FILAS pide un número de 17 a 100\n" + usage);
    refused({"40", "30", "nuevo.png"}, 2,
            "quintaraz-map: la salida debe terminar en .map, en .tmx o en .tmj\n" + usage);
    refused({"40", "30", "valle.map"}, 1,
            "quintaraz-map: valle.map: ya existe con otro contenido; no se sobrescribe (--force lo "
            "reemplaza)\n");
}

void TestTiled::exportWritesAllOrNone_data()
{
    // The pictures come before the TMX, which is the largest: the disk or the size limit gives
    // out at the TMX, with the pictures written.
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("replacing"); // a person's pictures there, replaced with --force
    QTest::newRow("disk full") << "disk full" << false;
    QTest::newRow("disk full, replacing") << "disk full" << true;
    // The same at write where no mount namespace can be made for a full disk.
    QTest::newRow("file size limit, replacing") << "file size limit" << true;
}

void TestTiled::exportWritesAllOrNone()
{
    QFETCH(QString, fault);
    QFETCH(bool, replacing);
    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("disco"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(testmaps::writeFile(folder + QStringLiteral("/mapa.map"), mapOfSize(100, 100)));
    if (replacing)
        for (const char* picture : {"/terrenos.png", "/jugadores.png"})
            QVERIFY(testmaps::writeFile(folder + QLatin1String(picture), "de una persona"));
    const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden);

    QStringList export_{QStringLiteral(QUINTARAZ_MAP), QStringLiteral("export")};
    if (replacing)
        export_ << QStringLiteral("--force");
    export_ << folder + QStringLiteral("/mapa.map") << folder + QStringLiteral("/mapa.tmx");
    // A full disk with room for the two pictures (a page each) and not for the TMX (21 KB).
    const QStringList line =
        fault == QLatin1String("disk full")
            ? QStringList{QStringLiteral(QUINTARAZ_ON_FULL_DISK),
                          folder,
                          QStringLiteral("sh"),
                          QStringLiteral("-c"),
                          QStringLiteral("truncate -s -16K \"$0/.relleno\" && exec \"$@\""),
                          folder} +
                  export_
            : QStringList{QStringLiteral("prlimit"), QStringLiteral("--fsize=8192")} + export_;
    const ProgramRun result = run(line.constFirst(), line.mid(1), top.path());
    if (result.status == 77)
        QSKIP("no mount namespace here");
    QCOMPARE(result.err, QStringLiteral("quintaraz-map: %1/mapa.tmx: %2\n")
                             .arg(folder, fault == QLatin1String("disk full")
                                              ? QStringLiteral("no queda espacio en el disco")
                                              : QStringLiteral("el archivo superaría el tamaño "
                                                               "que el sistema permite")));
    QCOMPARE(result.status, 1);

    // Nothing new, no file of the writer's own left behind, and a person's pictures as they were.
    const QString after =
        fault == QLatin1String("disk full") ? folder + QStringLiteral(".after") : folder;
    QStringList left = QDir(after).entryList(QDir::Files | QDir::Hidden);
    left.removeOne(QStringLiteral(".relleno"));
    QCOMPARE(left, before);
    if (replacing)
        for (const char* picture : {"/terrenos.png", "/jugadores.png"})
            QCOMPARE(testmaps::readFile(after + QLatin1String(picture)), "de una persona");
}

QTEST_GUILESS_MAIN(TestTiled)
#include "tst_tiled.moc"
