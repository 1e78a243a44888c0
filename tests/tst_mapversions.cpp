// Maps in git: quintaraz-map grid, diff and merge, run as git runs them.

#include "art/tileart.h"
#include "map/maptext.h"
#include "mapedits.h"
#include "programrun.h"
#include "render/changeoutline.h"
#include "render/mappicture.h"
#include "testmaps.h"
#include "versions/mapmerge.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>

using namespace quintaraz;
using namespace mapedits;

namespace {

/** A grass map one column wider than the example, with its starts. */
void widen(GameMap& map)
{
    map.resize(17, map.maxheight);
}

/**
 * 17 by 17 grass with the starts where every turn and mirror of the map takes them onto one
 * another: each player's figures the same, a balanced map; changed by the edits.
 */
template <typename... Edits> QByteArray fairMap(Edits... edits)
{
    return example([=](GameMap& map) {
        const std::array<GridPoint, playerCount> starts{
            {{5, 2}, {11, 2}, {14, 5}, {14, 11}, {11, 14}, {5, 14}, {2, 11}, {2, 5}}};
        std::copy(starts.begin(), starts.end(), map.starts.begin());
        (edits(map), ...);
    });
}

/** What diff says without how the balance moved, which has a test of its own. */
QString withoutBalance(const QString& said)
{
    if (said.startsWith(u'{')) {
        QJsonObject report = QJsonDocument::fromJson(said.toUtf8()).object();
        report.remove(QStringLiteral("equilibrio"));
        return QString::fromUtf8(QJsonDocument(report).toJson(QJsonDocument::Compact)) + u'\n';
    }
    return QString(said).remove(QRegularExpression(QStringLiteral("^equilibrio: .*\n"),
                                                   QRegularExpression::MultilineOption));
}

ProgramRun runTool(const QStringList& arguments, const QString& folder)
{
    return runProgram(QStringLiteral(QUINTARAZ_MAP), arguments, folder);
}

/** A git repository in a temporary folder whose .map files diff and merge with the tool. */
struct MapRepository {
    QTemporaryDir folder;

    ProgramRun git(const QStringList& arguments) const
    {
        return runProgram(QStringLiteral("git"), arguments, folder.path());
    }
    void commit(const QByteArray& map, const char* message) const
    {
        QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("mapa.map")), map));
        QCOMPARE(git({"commit", "-q", "-a", "-m", message}).status, 0);
    }

    MapRepository(const QByteArray& base)
    {
        const QString tool = QStringLiteral("'%1'").arg(QStringLiteral(QUINTARAZ_MAP));
        for (const QStringList& command : QList<QStringList>{
                 {"init", "-q", "-b", "principal"},
                 {"config", "user.name", "Cartógrafa"},
                 {"config", "user.email", "cartografa@example.org"},
                 {"config", "diff.quintaraz.textconv", tool + " grid --"},
                 {"config", "merge.quintaraz.driver", tool + " merge --name %P -- %O %A %B"},
                 {"config", "merge.quintaraz.recursive", "binary"}})
            QCOMPARE(git(command).status, 0);
        QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral(".gitattributes")),
                                    "*.map diff=quintaraz merge=quintaraz\n"));
        QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("mapa.map")), base));
        QCOMPARE(git({"add", ".gitattributes", "mapa.map"}).status, 0);
        QCOMPARE(git({"commit", "-q", "-m", "base"}).status, 0);
    }
};

} // namespace

class TestMapVersions : public QObject {
    Q_OBJECT

private slots:
    void diffSaysWhatChanged_data();
    void diffSaysWhatChanged();
    void diffSaysHowTheBalanceMoved_data();
    void diffSaysHowTheBalanceMoved();
    void picturesAreRenderWithCellsOutlined_data();
    void picturesAreRenderWithCellsOutlined();
    void gitDiffOfOneCellIsOneLine();
    void gridSaysWhatIsNoMap_data();
    void gridSaysWhatIsNoMap();
    void gitMergesCellByCell_data();
    void gitMergesCellByCell();
    void conflictsOfCellsAreRectangles();
};

void TestMapVersions::diffSaysWhatChanged_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // after the line "viejo.map → nuevo.map", unless JSON
    QTest::addColumn<QString>("err");
    const QByteArray map = example();
    const QString same = QStringLiteral(
        "el mismo mapa: las mismas casillas y el mismo comienzo para cada jugador\n");
    const auto total = [](const char* cells, int moved) {
        return QStringLiteral("total: %1; comienzos movidos: %2\n")
            .arg(QString::fromUtf8(cells))
            .arg(moved);
    };
    const auto row = [](const char* title, const QByteArray& before, const QByteArray& after,
                        int status, const QString& out, const QStringList& options = {},
                        const QString& err = {}) {
        QTest::newRow(title) << before << after << options << status << out << err;
    };
    row("the same file", map, map, 0, same);
    row("white space after the starts", map, map + " \r\n", 0, same);
    // Entry k is player k's start: another order moves players.
    row("two starts swapped", map, QByteArray(map).replace("<fin>2 3,15 3,", "<fin>15 3,2 3,"), 1,
        "jugador 1: columna 2, fila 3 → columna 15, fila 3\n"
        "jugador 2: columna 15, fila 3 → columna 2, fila 3\n" +
            total("0 casillas cambiadas en 0 zonas", 2));
    row("starts in another order", map, QByteArray(map).replace("2 3,15 3,8 8,", "8 8,2 3,15 3,"),
        1,
        "jugador 1: columna 2, fila 3 → columna 8, fila 8\n"
        "jugador 2: columna 15, fila 3 → columna 2, fila 3\n"
        "jugador 3: columna 8, fila 8 → columna 15, fila 3\n" +
            total("0 casillas cambiadas en 0 zonas", 3));
    row("one cell", map, example(paint(3, 4, 3, 4, Terrain::Water)), 1,
        "columna 3, fila 4: Hierba → Agua, 1 casilla\n" + total("1 casilla cambiada en 1 zona", 0));
    row("a rectangle and a run", map, example([](GameMap& m) {
            paint(10, 5, 12, 7, Terrain::Rock)(m);
            paint(0, 0, 3, 0, Terrain::Tree)(m);
            m.terrain[m.cellIndex(14, 6)] = 9; // a terrain the editor does not know
        }),
        1,
        "columnas 0–3, fila 0: Hierba → Árbol, 4 casillas\n"
        "columnas 10–12, filas 5–7: Hierba → Roca, 9 casillas\n"
        "columna 14, fila 6: Hierba → terreno 9, 1 casilla\n" +
            total("14 casillas cambiadas en 3 zonas", 0));
    row("a column more", map, example(widen), 1,
        "tamaño: 17x17 → 18x17\n"
        "columna 17, filas 0–16: fuera del mapa → Hierba, 17 casillas\n" +
            total("17 casillas cambiadas en 1 zona", 0));
    row("a start moved", map, example(moveStart(2, 9, 9)), 1,
        "jugador 3: columna 8, fila 8 → columna 9, fila 9\n" +
            total("0 casillas cambiadas en 0 zonas", 1));
    row("JSON", map, example([](GameMap& m) {
            paint(3, 4, 3, 4, Terrain::Water)(m);
            moveStart(2, 9, 9)(m);
        }),
        1,
        "{\"antes\":\"viejo.map\",\"casillas\":[{\"antes\":0,\"columna\":3,\"despues\":2,"
        "\"fila\":4}],\"comienzos\":[{\"desde\":{\"columna\":8,\"fila\":8},\"hasta\":"
        "{\"columna\":9,\"fila\":9},\"jugador\":3}],\"despues\":\"nuevo.map\",\"iguales\":false,"
        "\"tamano_antes\":{\"columnas\":17,\"filas\":17},\"tamano_despues\":{\"columnas\":17,"
        "\"filas\":17},\"totales\":{\"casillas\":1,\"comienzos_movidos\":1},"
        "\"tras_el_octavo_comienzo_cambia\":false}\n",
        {"--json"});
    row("a damaged map", map, "16,16,0<fin>", 2, {}, {},
        "quintaraz-map: nuevo.map: fallo de lectura en el byte 7: solo hay 1 de las 289 "
        "casillas\n");
}

void TestMapVersions::diffSaysWhatChanged()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("viejo.map")), before));
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("nuevo.map")), after));
    const ProgramRun run = runTool(
        QStringList{"diff"} + options + QStringList{"viejo.map", "nuevo.map"}, folder.path());
    QCOMPARE(run.status, status);
    const bool text = status != 2 && options.isEmpty();
    QCOMPARE(withoutBalance(run.out),
             (text ? QStringLiteral("viejo.map → nuevo.map\n") : QString()) + out);
    QCOMPARE(run.err, err);
}

void TestMapVersions::diffSaysHowTheBalanceMoved_data()
{
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("line"); // the last line of the text; nothing for the same map
    QTest::addColumn<QStringList>("verdicts"); // before and after, in the JSON
    const QByteArray fair = fairMap();
    QTest::newRow("the same map") << fair << QString() << QStringList{"equilibrado", "equilibrado"};
    QTest::newRow("a start moved to a corner")
        << fairMap(moveStart(0, 1, 1))
        << "equilibrio: equilibrado → desequilibrado: territorio, jugador 1 tiene 22 casillas y "
           "el jugador 8 tiene 35 (razón 0.63)\n"
        << QStringList{"equilibrado", "desequilibrado"};
    QTest::newRow("two starts walled in by water")
        << fairMap(paint(0, 0, 16, 0, Terrain::Water), paint(0, 0, 0, 16, Terrain::Water),
                   paint(3, 0, 3, 8, Terrain::Water), paint(0, 8, 3, 8, Terrain::Water),
                   moveStart(0, 1, 1))
        << "equilibrio: equilibrado → injusto: hay 2 zonas sin camino entre ellas: la de los "
           "jugadores 1 y 8 y la de los jugadores 2, 3, 4, 5, 6 y 7\n"
        << QStringList{"equilibrado", "injusto"};
}

void TestMapVersions::diffSaysHowTheBalanceMoved()
{
    QFETCH(QByteArray, after);
    QFETCH(QString, line);
    QFETCH(QStringList, verdicts);
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("viejo.map")), fairMap()));
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("nuevo.map")), after));
    const ProgramRun text = runTool({"diff", "viejo.map", "nuevo.map"}, folder.path());
    QCOMPARE(text.status, line.isEmpty() ? 0 : 1);
    if (line.isEmpty())
        QVERIFY(!text.out.contains(QStringLiteral("equilibrio")));
    else
        QVERIFY2(text.out.endsWith(line), qPrintable(text.out));
    // The figures before and after, as balance gives them.
    const ProgramRun json = runTool({"diff", "--json", "viejo.map", "nuevo.map"}, folder.path());
    const QJsonObject balance = QJsonDocument::fromJson(json.out.toUtf8())
                                    .object()
                                    .value(QStringLiteral("equilibrio"))
                                    .toObject();
    QCOMPARE(balance.keys(), QStringList({"antes", "despues"}));
    for (int side = 0; side < 2; ++side) {
        const QString file = side == 0 ? QStringLiteral("viejo.map") : QStringLiteral("nuevo.map");
        const ProgramRun alone = runTool({"balance", "--json", file}, folder.path());
        const QJsonObject figures = QJsonDocument::fromJson(alone.out.toUtf8()).object();
        const QJsonObject said = balance.value(balance.keys().at(side)).toObject();
        QCOMPARE(said.keys(), QStringList({"motivo", "razones", "veredicto"}));
        QCOMPARE(said.value(QStringLiteral("veredicto")).toString(), verdicts.at(side));
        QCOMPARE(said.value(QStringLiteral("veredicto")),
                 figures.value(QStringLiteral("veredicto")));
        QCOMPARE(said.value(QStringLiteral("motivo")), figures.value(QStringLiteral("motivo")));
        const QJsonObject measures = figures.value(QStringLiteral("medidas")).toObject();
        const QJsonObject ratios = said.value(QStringLiteral("razones")).toObject();
        QCOMPARE(ratios.keys(), measures.keys());
        for (const QString& measure : measures.keys())
            QCOMPARE(ratios.value(measure),
                     measures.value(measure).toObject().value(QStringLiteral("razon")));
    }
}

void TestMapVersions::picturesAreRenderWithCellsOutlined_data()
{
    // diff draws the new map with the changed cells framed; merge, when theirs is given, draws
    // the merged map with the cells of its conflicts framed, ours and the example the base.
    QTest::addColumn<QByteArray>("after"); // diff's new map, or merge's ours
    QTest::addColumn<QByteArray>("theirs");
    QTest::addColumn<QList<QPoint>>("outlined");
    QTest::newRow("nothing changed") << example() << QByteArray() << QList<QPoint>();
    QTest::newRow("a cell and a start") << example([](GameMap& map) {
        paint(3, 4, 3, 4, Terrain::Water)(map);
        moveStart(2, 9, 9)(map);
    }) << QByteArray() << QList<QPoint>{{3, 4}, {8, 8}, {9, 9}};
    QTest::newRow("merge without conflicts")
        << example(paint(3, 4, 3, 4, Terrain::Water)) << example(paint(5, 5, 5, 5, Terrain::Rock))
        << QList<QPoint>();
    QTest::newRow("merge of a cell painted two ways")
        << example(paint(3, 4, 3, 4, Terrain::Water)) << example(paint(3, 4, 3, 4, Terrain::Rock))
        << QList<QPoint>{{3, 4}};
    // A start conflict frames where our start stays; one onto our water, that cell too.
    QTest::newRow("merge of a start moved to two cells")
        << example(moveStart(2, 9, 9)) << example(moveStart(2, 10, 10)) << QList<QPoint>{{9, 9}};
    QTest::newRow("merge of their start onto our water")
        << example(paint(9, 9, 9, 9, Terrain::Water)) << example(moveStart(2, 9, 9))
        << QList<QPoint>{{9, 9}, {8, 8}};
}

void TestMapVersions::picturesAreRenderWithCellsOutlined()
{
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, theirs);
    QFETCH(QList<QPoint>, outlined);
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("viejo.map")), example()));
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("nuevo.map")), after));
    QVERIFY(theirs.isEmpty() ||
            testmaps::writeFile(folder.filePath(QStringLiteral("suyo.map")), theirs));
    const ProgramRun run = runTool(
        theirs.isEmpty() ? QStringList{"diff", "--picture", "cambios.png", "viejo.map", "nuevo.map"}
                         : QStringList{"merge", "--picture", "cambios.png", "viejo.map",
                                       "nuevo.map", "suyo.map"},
        folder.path());
    QCOMPARE(run.status, outlined.isEmpty() ? 0 : 1);
    // What is drawn: diff's new map, or the map the merge wrote.
    const QByteArray drawn = testmaps::readFile(folder.filePath(QStringLiteral("nuevo.map")));
    const QByteArray png = testmaps::readFile(folder.filePath(QStringLiteral("cambios.png")));
    // A palette picture, as render writes, with the frame's colour as one more entry.
    QCOMPARE(png.size() > 25 ? int(png.at(25)) : -1, 3);
    const QImage picture = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    const TileArt art;
    const QImage render = MapPicture(art).render(readMapText(drawn.toStdString()).map, 25);
    QCOMPARE(picture.size(), render.size());
    // The frame is 3 pixels wide in a cell of 25; the rest is exactly what render draws.
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QPoint inCell(x % 25, y % 25);
            const bool frame =
                outlined.contains(QPoint(x / 25, y / 25)) &&
                (qMin(inCell.x(), inCell.y()) < 3 || qMax(inCell.x(), inCell.y()) > 21);
            if (picture.pixel(x, y) != (frame ? changeOutlineColour : render.pixel(x, y)))
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
        }
    }
    // No tile has the frame's colour: a frame is never taken for a terrain or a marker.
    QList<QImage> tiles{art.unknownTerrain()};
    for (int t = 0; t < terrainCount; ++t)
        tiles << art.terrain(t);
    for (int p = 0; p < playerCount; ++p)
        tiles << art.player(p);
    for (const QImage& tile : tiles)
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x)
                QVERIFY(tile.pixel(x, y) != changeOutlineColour);
}

void TestMapVersions::gitDiffOfOneCellIsOneLine()
{
    MapRepository repository(example());
    repository.commit(example(paint(6, 9, 6, 9, Terrain::Water)), "agua");
    const ProgramRun lines = repository.git({"diff", "-U0", "HEAD~1", "HEAD"});
    QCOMPARE(lines.status, 0);
    const QStringList changed = lines.out.split(u'\n').filter(QRegularExpression("^[-+][^-+]"));
    QCOMPARE(changed, QStringList({"-00000000000000000", "+00000020000000000"}));
    const ProgramRun characters =
        repository.git({"diff", "--word-diff=plain", "--word-diff-regex=.", "HEAD~1", "HEAD"});
    QCOMPARE(characters.out.count(QStringLiteral("[-0-]{+2+}")), 1);
}

void TestMapVersions::gridSaysWhatIsNoMap_data()
{
    QTest::addColumn<QByteArray>("bytes"); // of mapa.map; "/" makes it a folder, "" leaves none
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto row = [](const char* title, const QByteArray& bytes, const QString& out,
                        int status = 0, const QString& err = {}) {
        QTest::newRow(title) << bytes << status << out << err;
    };
    row("a map", example(moveStart(2, 9, 9)),
        "tamaño: 17x17\n" + QStringLiteral("00000000000000000\n").repeated(17) +
            "jugador 1: columna 2, fila 3\njugador 2: columna 15, fila 3\n"
            "jugador 3: columna 9, fila 9\njugador 4: columna 0, fila 12\n"
            "jugador 5: columna 4, fila 16\njugador 6: columna 9, fila 16\n"
            "jugador 7: columna 12, fila 16\njugador 8: columna 16, fila 16\n");
    // The size and SHA-256 of the whole file show a change past the bytes shown.
    row("a damaged map", "16,16,0,a,0<fin>",
        "no es un mapa: archivo corrupto en el byte 8: la casilla de la columna 1, fila 0 es «a», "
        "que no es un número\n"
        "mide 16 bytes, SHA-256 36cfaca491039a8448926ffb46024d2651ca539fb5ac99b92477f64e06c9d540\n"
        "sus 16 bytes: «16,16,0,a,0<fin>»\n");
    row("an empty file", "/dev/null",
        "no es un mapa: no se puede abrir: falta la marca <fin>\nel archivo está vacío\n");
    row("control characters and bytes that are not UTF-8", "hola\nmundo\x1b[31m\xff ñ",
        "no es un mapa: no se puede abrir: falta la marca <fin>\n"
        "mide 19 bytes, SHA-256 92b34caa9fd91cca46264eb4770e603f528b86ec3462d450f6ddc4741b7e5d9e\n"
        "sus 19 bytes: «hola\\nmundo\\x1b[31m\\xff ñ»\n");
    row("a file over 1 MiB", QByteArray("0,").repeated(600 * 1024),
        "no es un mapa: no se puede abrir: mide más de 1 MiB y ningún mapa es tan grande\n"
        "mide 1228800 bytes, SHA-256 "
        "00c87ece58f260c5b3b7406d99d5282de03dabd67dc93b029d2a789d3da09958\n"
        "sus primeros 256 bytes: «" +
            QStringLiteral("0,").repeated(128) + "»\n");
    row("a folder", "/", {}, 1,
        "quintaraz-map: mapa.map: no se puede abrir: no es un archivo normal\n");
    row("no file", "", {}, 1,
        "quintaraz-map: mapa.map: no se puede abrir: no existe el archivo o la carpeta\n");
}

void TestMapVersions::gridSaysWhatIsNoMap()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir folder;
    const QString map = folder.filePath(QStringLiteral("mapa.map"));
    if (bytes == "/")
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("mapa.map")));
    else if (bytes == "/dev/null")
        QVERIFY(testmaps::writeFile(map, {}));
    else if (!bytes.isEmpty())
        QVERIFY(testmaps::writeFile(map, bytes));
    const ProgramRun run = runTool({"grid", "mapa.map"}, folder.path());
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, out);
    QCOMPARE(run.err, err);
}

void TestMapVersions::gitMergesCellByCell_data()
{
    QTest::addColumn<QByteArray>("ours");
    QTest::addColumn<QByteArray>("theirs");
    QTest::addColumn<bool>("clean");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QString>("said"); // on the merge's standard error
    const auto both = [](auto... edits) { return exampleWith(edits...); };
    const auto water = paint(5, 5, 5, 5, Terrain::Water);
    QTest::newRow("two corners") << example(paint(0, 0, 0, 0, Terrain::Tree))
                                 << example(paint(16, 0, 16, 0, Terrain::Rock)) << true
                                 << both(paint(0, 0, 0, 0, Terrain::Tree),
                                         paint(16, 0, 16, 0, Terrain::Rock))
                                 << QString();
    QTest::newRow("one paint on both sides")
        << example(water) << example(water) << true << example(water) << QString();
    QTest::newRow("two starts moved")
        << example(moveStart(0, 1, 1)) << example(moveStart(7, 15, 15)) << true
        << both(moveStart(0, 1, 1), moveStart(7, 15, 15)) << QString();
    QTest::newRow("one cell painted two ways")
        << both(water, paint(0, 0, 0, 0, Terrain::Tree))
        << both(paint(5, 5, 5, 5, Terrain::Rock), paint(16, 16, 16, 16, Terrain::SoilPatch))
        << false
        << both(water, paint(0, 0, 0, 0, Terrain::Tree), paint(16, 16, 16, 16, Terrain::SoilPatch))
        << "quintaraz-map: mapa.map: conflicto en la columna 5, fila 5: base Hierba; nuestro Agua; "
           "suyo Roca: queda el nuestro\nquintaraz-map: mapa.map: en conflicto: 1 casilla en 1 "
           "zona\n";
    QTest::newRow("a start moved to two cells")
        << example(moveStart(2, 9, 9)) << example(moveStart(2, 10, 10)) << false
        << example(moveStart(2, 9, 9))
        << "conflicto en el comienzo del jugador 3: base columna 8, fila 8; nuestro columna 9, "
           "fila 9; suyo columna 10, fila 10: queda el nuestro\nquintaraz-map: mapa.map: en "
           "conflicto: 1 comienzo\n";
    // Our value on each conflict: the start stays where ours has it, never on our water.
    QTest::newRow("a start moved onto our water")
        << example(paint(9, 9, 9, 9, Terrain::Water)) << example(moveStart(2, 9, 9)) << false
        << example(paint(9, 9, 9, 9, Terrain::Water))
        << "conflicto en el comienzo del jugador 3: quedaría en la columna 9, fila 9, en agua; "
           "queda el nuestro, en la columna 8, fila 8";
    QTest::newRow("their rock under our start")
        << example(moveStart(2, 9, 9)) << example(paint(9, 9, 9, 9, Terrain::Rock)) << false
        << example(moveStart(2, 9, 9))
        << "conflicto en el comienzo del jugador 3: quedaría en roca en la columna 9, fila 9; "
           "queda sobre Hierba, como en el nuestro";
    QTest::newRow("our start's old cell painted by them")
        << example(paint(9, 9, 9, 9, Terrain::Water))
        << both(moveStart(2, 9, 9), paint(8, 8, 8, 8, Terrain::Water)) << false
        << example(paint(9, 9, 9, 9, Terrain::Water))
        << "conflicto en el comienzo del jugador 3: quedaría en la columna 9, fila 9, en agua; "
           "queda el nuestro, en la columna 8, fila 8, que sigue siendo Hierba";
    QTest::newRow("their start moved onto our start")
        << example(moveStart(3, 5, 5)) << example(moveStart(2, 5, 5)) << false
        << example(moveStart(3, 5, 5))
        << "conflicto en el comienzo del jugador 3: quedaría en la columna 5, fila 5, con el "
           "comienzo del jugador 4; queda el nuestro, en la columna 8, fila 8";
    // A swap is two players that moved: it survives a change on the other side.
    QTest::newRow("a swap beside a painted cell")
        << example([](GameMap& map) { std::swap(map.starts[0], map.starts[1]); }) << example(water)
        << true << both([](GameMap& map) { std::swap(map.starts[0], map.starts[1]); }, water)
        << QString();
    QTest::newRow("a swap against a moved start")
        << example([](GameMap& map) { std::swap(map.starts[0], map.starts[1]); })
        << example(moveStart(0, 1, 1)) << false
        << example([](GameMap& map) { std::swap(map.starts[0], map.starts[1]); })
        << "conflicto en el comienzo del jugador 1: base columna 2, fila 3; nuestro columna 15, "
           "fila 3; suyo columna 1, fila 1: queda el nuestro";
    QTest::newRow("the size on one side, a cell on the other")
        << example(widen) << example(water) << false << example(widen)
        << "conflicto de tamaño: base 17x17; nuestro 18x17; suyo 17x17, y el otro lado "
           "cambió el mapa; queda el nuestro entero\nquintaraz-map: mapa.map: en conflicto: el "
           "tamaño\n";
    // Entries after the eighth start are not the game's: the merge drops them, and says so.
    QTest::newRow("entries after the eighth start")
        << example() + "3 3," << example(water) << true << example(water)
        << "aviso: lo que seguía al octavo comienzo no se guarda en la mezcla";
    QTest::newRow("a damaged side")
        << example(water) << QByteArray("16,16,0<fin>") << false << example(water)
        << "solo hay 1 de las 289 casillas; no se mezcla";
}

void TestMapVersions::gitMergesCellByCell()
{
    QFETCH(QByteArray, ours);
    QFETCH(QByteArray, theirs);
    QFETCH(bool, clean);
    QFETCH(QByteArray, result);
    QFETCH(QString, said);
    MapRepository repository(example());
    QCOMPARE(repository.git({"checkout", "-q", "-b", "suya"}).status, 0);
    repository.commit(theirs, "suya");
    QCOMPARE(repository.git({"checkout", "-q", "principal"}).status, 0);
    repository.commit(ours, "nuestra");
    const ProgramRun merge = repository.git({"merge", "-q", "--no-edit", "suya"});
    QCOMPARE(merge.status == 0, clean);
    QVERIFY2(merge.err.contains(said), qPrintable(merge.err));
    // Whatever happened, the file is a whole map that the editor opens.
    const QByteArray merged =
        testmaps::readFile(repository.folder.filePath(QStringLiteral("mapa.map")));
    QCOMPARE(merged, result);
    QCOMPARE(readMapText(merged.toStdString()).outcome, LoadOutcome::Loaded);
}

void TestMapVersions::conflictsOfCellsAreRectangles()
{
    // Each side paints a few rectangles over a base: the areas of a merge's cell conflicts
    // hold every such conflict once, each with its own three terrains, and nothing else; a
    // block painted two ways is one area.
    QRandomGenerator random(29);
    int manyAreas = 0; // rounds with more than one area, of more than one cell
    const auto rectangles = [&](int count) {
        return [&random, count](GameMap& map) {
            for (int k = 0; k < count; ++k) {
                const int left = random.bounded(17);
                const int top = random.bounded(17);
                paint(left, top, random.bounded(left, 17), random.bounded(top, 17),
                      Terrain(random.bounded(terrainCount)))(map);
            }
        };
    };
    for (int round = 0; round < 200; ++round) {
        const GameMap base = readMapText(example(rectangles(3)).toStdString()).map;
        GameMap ours = base;
        GameMap theirs = base;
        const int count = round == 0 ? 0 : random.bounded(1, 6);
        rectangles(count)(ours);
        rectangles(count)(theirs);
        if (round == 0) {
            paint(2, 4, 13, 6, Terrain::Water)(ours);
            paint(2, 4, 13, 6, Terrain::Rock)(theirs);
        }
        const MapMerge merged = mergeMaps(&base, ours, theirs);
        std::map<std::pair<int, int>, const MergeConflict*> conflicts;
        for (const MergeConflict& conflict : merged.conflicts)
            if (conflict.kind == MergeConflict::Kind::Cell)
                conflicts[{conflict.cell.x, conflict.cell.y}] = &conflict;
        const std::vector<ConflictArea> areas = conflictAreas(merged.conflicts);
        if (round == 0)
            QCOMPARE(areas.size(), std::size_t(1));
        std::size_t covered = 0;
        for (const ConflictArea& area : areas)
            for (int y = area.top; y <= area.bottom; ++y)
                for (int x = area.left; x <= area.right; ++x) {
                    const auto found = conflicts.find({x, y});
                    QVERIFY2(
                        found != conflicts.end(),
                        qPrintable(QStringLiteral("round %1: cell %2, %3 of an area is no conflict")
                                       .arg(round)
                                       .arg(x)
                                       .arg(y)));
                    QCOMPARE(found->second->base, area.base);
                    QCOMPARE(found->second->ours, area.ours);
                    QCOMPARE(found->second->theirs, area.theirs);
                    conflicts.erase(found);
                    ++covered;
                }
        QVERIFY2(conflicts.empty(), qPrintable(QStringLiteral("round %1: %2 conflicts in no area")
                                                   .arg(round)
                                                   .arg(conflicts.size())));
        manyAreas += areas.size() > 1 && covered > areas.size();
    }
    QVERIFY2(manyAreas > 50, "the rounds made too few areas to say anything");
}

QTEST_GUILESS_MAIN(TestMapVersions)
#include "tst_mapversions.moc"
