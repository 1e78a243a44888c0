// How fair a map is: the one-pass figures against a plain reading of the definitions, on
// symmetric and renumbered maps, and quintaraz-map balance on maps drawn beside their figures.

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "map/maptext.h"
#include "programrun.h"
#include "referencebalance.h"
#include "render/balancepicture.h"
#include "render/mappicture.h"
#include "testmaps.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <numeric>

using namespace quintaraz;

namespace {

const QString cases = QStringLiteral(QUINTARAZ_BALANCE_CASES);

ProgramRun runTool(const QStringList& arguments, const QString& folder)
{
    return runProgram(QStringLiteral(QUINTARAZ_MAP), arguments, folder);
}

/**
 * A map as maps are painted: grass with patches of every terrain, some single cells, now
 * and then a number no terrain has; starts mostly on cells of their own, some on rock, two
 * on one cell or one outside the map.
 */
std::unique_ptr<GameMap> randomMap(QRandomGenerator& random, int columns, int rows)
{
    auto map = std::make_unique<GameMap>(columns - 1, rows - 1);
    for (int patch = random.bounded(3, 12); patch > 0; --patch) {
        const int left = random.bounded(columns);
        const int top = random.bounded(rows);
        const int right = std::min(columns, left + random.bounded(1, 9));
        const int bottom = std::min(rows, top + random.bounded(1, 9));
        const auto terrain = std::int16_t(random.bounded(10) == 0 ? 7 : random.bounded(6));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                map->terrain[map->cellIndex(x, y)] = terrain;
    }
    for (int single = random.bounded(columns * rows / 6); single > 0; --single)
        map->terrain[random.bounded(map->cellCount())] = std::int16_t(random.bounded(6));
    for (int g = 0; g < playerCount; ++g)
        map->starts[g] =
            GridPoint{std::int16_t(random.bounded(columns)), std::int16_t(random.bounded(rows))};
    switch (random.bounded(4)) {
    case 0:
        map->starts[random.bounded(playerCount)] = map->starts[random.bounded(playerCount)];
        break;
    case 1:
        map->starts[random.bounded(playerCount)] = GridPoint{std::int16_t(columns + 3), 2};
        break;
    default:
        break; // where they fell, on whatever terrain is there
    }
    return map;
}

/** Every figure of a player but the place of its pass, in one list to compare. */
QList<int> figuresOf(const PlayerBalance& player)
{
    return {player.walkable,
            player.region,
            player.space,
            player.trees[0],
            player.trees[1],
            player.trees[2],
            player.soilPatches[0],
            player.soilPatches[1],
            player.soilPatches[2],
            player.territoryCells,
            player.territoryTrees,
            player.territorySoilPatches,
            player.nearestRival.value_or(-1),
            player.farthestRival.value_or(-1),
            player.rivalsReached,
            player.narrowestPass.value_or(-1)};
}

/** The symmetric map of a random one: each cell takes the terrain of the first of its orbit. */
std::unique_ptr<GameMap> symmetricMap(QRandomGenerator& random, Symmetry symmetry)
{
    const bool square = symmetry == Symmetry::QuarterTurn || symmetry == Symmetry::Diagonal ||
                        symmetry == Symmetry::AntiDiagonal;
    const int columns = random.bounded(17, 41);
    auto map = randomMap(random, columns, square ? columns : random.bounded(17, 41));
    const auto orbit = [&](GridPoint cell) {
        QList<GridPoint> cells{cell};
        for (GridPoint next = transformed(symmetry, *map, cell); !(next == cell);
             next = transformed(symmetry, *map, next))
            cells << next;
        return cells;
    };
    for (int y = 0; y <= map->maxheight; ++y)
        for (int x = 0; x <= map->maxwidth; ++x)
            for (const GridPoint image : orbit({std::int16_t(x), std::int16_t(y)}))
                map->terrain[map->cellIndex(image.x, image.y)] = map->terrainAt(x, y);
    // Starts in whole orbits of two (or four for a quarter turn), on grass.
    QList<GridPoint> starts;
    while (starts.size() < playerCount) {
        const GridPoint cell{std::int16_t(random.bounded(map->columns())),
                             std::int16_t(random.bounded(map->rows()))};
        const QList<GridPoint> cells = orbit(cell);
        if (cells.size() != (symmetry == Symmetry::QuarterTurn ? 4 : 2) ||
            std::any_of(cells.begin(), cells.end(),
                        [&](GridPoint c) { return starts.contains(c); }))
            continue;
        for (const GridPoint c : cells) {
            starts << c;
            map->terrain[map->cellIndex(c.x, c.y)] = terrainNumber(Terrain::Grass);
        }
    }
    // The players in a random order, so that a pair is not always two neighbours in number.
    std::shuffle(starts.begin(), starts.end(), random);
    for (int g = 0; g < playerCount; ++g)
        map->starts[g] = starts[g];
    return map;
}

/** The drawn map of a case: one character a cell, a digit for a player's start on grass. */
struct DrawnMap {
    std::unique_ptr<GameMap> map = std::make_unique<GameMap>();
    QStringList options;
    QString problem;
};

DrawnMap drawnMap(const QString& path)
{
    DrawnMap drawn;
    QStringList rows;
    const QString text = QString::fromUtf8(testmaps::readFile(path));
    static const QRegularExpression under(QStringLiteral("^([1-8]) sobre (.)$"));
    QList<std::pair<int, QChar>> beneath;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (line == u'#' || line.startsWith(QLatin1String("# ")))
            continue; // a comment; a row of rock has no blank
        if (line.startsWith(QLatin1String("opciones:")))
            drawn.options = line.mid(9).split(u' ', Qt::SkipEmptyParts);
        else if (const auto match = under.match(line); match.hasMatch())
            beneath.append({match.captured(1).toInt() - 1, match.captured(2).at(0)});
        else
            rows << line;
    }
    const QString terrains = QStringLiteral(".#~Tp,");
    GameMap& map = *drawn.map;
    map.resize(int(rows.value(0).size() - 1), int(rows.size() - 1));
    for (int y = 0; y < rows.size(); ++y) {
        if (rows[y].size() != map.columns())
            drawn.problem = QStringLiteral("row %1 is not %2 cells long").arg(y).arg(map.columns());
        for (int x = 0; x < rows[y].size(); ++x) {
            const QChar cell = rows[y].at(x);
            if (cell >= u'1' && cell <= u'8') {
                map.starts[cell.digitValue() - 1] = GridPoint{std::int16_t(x), std::int16_t(y)};
                map.terrain[map.cellIndex(x, y)] = terrainNumber(Terrain::Grass);
            } else if (terrains.contains(cell)) {
                map.terrain[map.cellIndex(x, y)] = std::int16_t(terrains.indexOf(cell));
            } else {
                drawn.problem =
                    QStringLiteral("'%1' at %2, %3 is no terrain").arg(cell).arg(x).arg(y);
            }
        }
    }
    for (const auto& [player, terrain] : beneath)
        if (const std::optional<GridPoint> start = map.starts[player])
            map.terrain[map.cellIndex(start->x, start->y)] =
                std::int16_t(terrains.indexOf(terrain));
    return drawn;
}

} // namespace

class TestBalance : public QObject {
    Q_OBJECT

private slots:
    void figuresFollowTheDefinitions_data();
    void figuresFollowTheDefinitions();
    void symmetricMapsGivePairedPlayersTheSameFigures_data();
    void symmetricMapsGivePairedPlayersTheSameFigures();
    void renumberingThePlayersPermutesTheirFigures_data();
    void renumberingThePlayersPermutesTheirFigures();
    void drawnMapsGiveTheirFigures_data();
    void drawnMapsGiveTheirFigures();
    void commandLines_data();
    void commandLines();
    void textFitsEightyColumns();
    void pictureShowsTerritoryDisputesAndPasses();
    void tiledNamesThePlayersWhoComeOffWorst_data();
    void tiledNamesThePlayersWhoComeOffWorst();
};

void TestBalance::figuresFollowTheDefinitions_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<QList<int>>("blocking");
    QTest::addColumn<int>("radius");
    for (int seed = 1; seed <= 40; ++seed) {
        const QList<int> blocking = seed % 4 == 0   ? QList<int>{1, 2, 3}
                                    : seed % 4 == 1 ? QList<int>{1, 2}
                                    : seed % 4 == 2 ? QList<int>{1, 2, 4, 5}
                                                    : QList<int>{};
        QTest::addRow("seed %d", seed) << seed << blocking << 1 + seed % 13;
    }
}

void TestBalance::figuresFollowTheDefinitions()
{
    QFETCH(int, seed);
    QFETCH(QList<int>, blocking);
    QFETCH(int, radius);
    QRandomGenerator random{quint32(seed)};
    const auto map = randomMap(random, random.bounded(17, 31), random.bounded(17, 31));
    BalanceSettings settings;
    settings.radius = radius;
    for (int t = 0; t < terrainCount; ++t)
        settings.blocking[t] = blocking.contains(t);
    const BalanceFigures figures = measureBalance(*map, settings);
    const referencebalance::Model model(*map, blocking, radius);
    const referencebalance::Figures expected = model.figures();
    for (int g = 0; g < playerCount; ++g) {
        QCOMPARE(figuresOf(figures.players[g]), figuresOf(expected.players[g]));
        // Where the route is narrowest, it is that narrow.
        if (const std::optional<GridPoint> pass = figures.players[g].passCell)
            QCOMPARE(model.width(pass->x, pass->y), *figures.players[g].narrowestPass);
    }
    QCOMPARE(figures.disputedCells, expected.disputed);
    QCOMPARE(QList<int>(figures.owners.begin(), figures.owners.end()), expected.owners);

    // The measures: least and greatest, their ratio and Jain's index, over the players.
    for (int m = 0; m < balanceMeasureCount; ++m) {
        QList<int> values;
        for (int g = 0; g < playerCount; ++g)
            if (const std::optional<int> value = figures.value(BalanceMeasure(m), g))
                values << *value;
        const MeasureSpread& spread = figures.measures[m];
        if (values.isEmpty()) {
            QVERIFY(!spread.worst && !spread.best);
            continue;
        }
        const int least = *std::min_element(values.begin(), values.end());
        const int most = *std::max_element(values.begin(), values.end());
        QCOMPARE(*spread.worst, least);
        QCOMPARE(*spread.best, most);
        QCOMPARE(figures.value(BalanceMeasure(m), spread.worstPlayer), least);
        QCOMPARE(figures.value(BalanceMeasure(m), spread.bestPlayer), most);
        QCOMPARE(spread.ratio, most == 0 ? 1.0 : double(least) / most);
        double sum = 0;
        double squares = 0;
        for (const int value : values) {
            sum += value;
            squares += double(value) * value;
        }
        QCOMPARE(spread.jain, squares == 0 ? 1.0 : sum * sum / (values.size() * squares));
    }
    const bool allReach = std::all_of(expected.players.begin(), expected.players.end(),
                                      [](const auto& player) { return player.rivalsReached == 7; });
    double least = 1;
    for (const MeasureSpread& spread : figures.measures)
        least = std::min(least, spread.ratio);
    QCOMPARE(figures.verdict, !allReach      ? BalanceVerdict::Unfair
                              : least >= 0.9 ? BalanceVerdict::Balanced
                                             : BalanceVerdict::Unbalanced);
}

void TestBalance::symmetricMapsGivePairedPlayersTheSameFigures_data()
{
    QTest::addColumn<int>("symmetryIndex"); // in allSymmetries
    QTest::addColumn<int>("seed");
    const std::array<const char*, 6> names{"mirrored left to right",
                                           "mirrored top to bottom",
                                           "half turn",
                                           "quarter turn",
                                           "diagonal",
                                           "antidiagonal"};
    for (std::size_t s = 0; s < allSymmetries.size(); ++s)
        for (int seed = 1; seed <= 5; ++seed)
            QTest::addRow("%s, %d", names[s], seed) << int(s) << seed;
}

void TestBalance::symmetricMapsGivePairedPlayersTheSameFigures()
{
    QFETCH(int, symmetryIndex);
    QFETCH(int, seed);
    const Symmetry symmetry = allSymmetries[std::size_t(symmetryIndex)];
    QRandomGenerator random(quint32(seed * 7 + int(symmetry)));
    const auto map = symmetricMap(random, symmetry);
    BalanceSettings settings;
    if (seed % 2 == 0)
        settings.blocking[terrainNumber(Terrain::Tree)] = true;
    const BalanceFigures figures = measureBalance(*map, settings);
    const auto check =
        std::find_if(figures.symmetries.begin(), figures.symmetries.end(),
                     [&](const SymmetryCheck& found) { return found.symmetry == symmetry; });
    QVERIFY(check != figures.symmetries.end());
    QCOMPARE(check->brokenTerrain, 0);
    QVERIFY(check->startsMatch);
    QVERIFY(check->exact());
    for (int g = 0; g < playerCount; ++g) {
        const GridPoint image = transformed(symmetry, *map, *map->starts[g]);
        const auto pair = std::find(map->starts.begin(), map->starts.end(), image);
        QVERIFY(pair != map->starts.end());
        QCOMPARE(figuresOf(figures.players[std::size_t(pair - map->starts.begin())]),
                 figuresOf(figures.players[g]));
    }
}

void TestBalance::renumberingThePlayersPermutesTheirFigures_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 30; ++seed)
        QTest::addRow("seed %d", seed) << seed;
}

void TestBalance::renumberingThePlayersPermutesTheirFigures()
{
    QFETCH(int, seed);
    QRandomGenerator random(quint32(seed + 1000));
    const auto map = randomMap(random, random.bounded(17, 61), random.bounded(17, 61));
    std::array<int, playerCount> renumbered; // player g becomes player renumbered[g]
    std::iota(renumbered.begin(), renumbered.end(), 0);
    std::shuffle(renumbered.begin(), renumbered.end(), random);
    auto other = std::make_unique<GameMap>(*map);
    for (int g = 0; g < playerCount; ++g)
        other->starts[std::size_t(renumbered[g])] = map->starts[g];
    const BalanceFigures before = measureBalance(*map);
    const BalanceFigures after = measureBalance(*other);

    for (int g = 0; g < playerCount; ++g) {
        const PlayerBalance& mine = before.players[g];
        const PlayerBalance& renamed = after.players[std::size_t(renumbered[g])];
        QCOMPARE(figuresOf(renamed), figuresOf(mine));
        QCOMPARE(renamed.passCell.has_value(), mine.passCell.has_value());
        for (int h = 0; h < playerCount; ++h)
            QCOMPARE(after.reachGroups[renumbered[g]] == after.reachGroups[renumbered[h]],
                     before.reachGroups[g] == before.reachGroups[h]);
    }
    for (std::size_t k = 0; k < before.owners.size(); ++k)
        QCOMPARE(after.owners[k], before.owners[k] < 0 ? before.owners[k]
                                                       : std::int8_t(renumbered[before.owners[k]]));
    QCOMPARE(after.disputedCells, before.disputedCells);
    QCOMPARE(after.symmetries.size(), before.symmetries.size());
    for (std::size_t s = 0; s < before.symmetries.size(); ++s) {
        QCOMPARE(after.symmetries[s].brokenTerrain, before.symmetries[s].brokenTerrain);
        QCOMPARE(after.symmetries[s].startsMatch, before.symmetries[s].startsMatch);
    }
    for (int m = 0; m < balanceMeasureCount; ++m) {
        const MeasureSpread& was = before.measures[m];
        const MeasureSpread& is = after.measures[m];
        QCOMPARE(is.worst, was.worst);
        QCOMPARE(is.best, was.best);
        QCOMPARE(is.ratio, was.ratio);
        QCOMPARE(is.jain, was.jain);
        // On a tie the lowest number is named: one of the players with that value.
        if (was.worst) {
            QCOMPARE(after.value(BalanceMeasure(m), is.worstPlayer), was.worst);
            QCOMPARE(after.value(BalanceMeasure(m), is.bestPlayer), was.best);
        }
    }
    QCOMPARE(after.verdict, before.verdict);
    QCOMPARE(after.weakest, before.weakest);
}

void TestBalance::drawnMapsGiveTheirFigures_data()
{
    QTest::addColumn<QString>("name");
    const QStringList drawings = QDir(cases).entryList({QStringLiteral("*.txt")}, QDir::Files);
    QVERIFY(drawings.size() >= 5);
    for (const QString& drawing : drawings)
        QTest::newRow(qPrintable(drawing)) << drawing.chopped(4);
}

void TestBalance::drawnMapsGiveTheirFigures()
{
    QFETCH(QString, name);
    const DrawnMap drawn = drawnMap(QDir(cases).filePath(name + QStringLiteral(".txt")));
    QVERIFY2(drawn.problem.isEmpty(), qPrintable(drawn.problem));
    QTemporaryDir folder;
    const QString file = name + QStringLiteral(".map");
    QVERIFY(testmaps::writeFile(folder.filePath(file), mapText(*drawn.map)));
    const ProgramRun run =
        runTool(QStringList{QStringLiteral("balance"), QStringLiteral("--json")} + drawn.options +
                    QStringList{file},
                folder.path());
    QCOMPARE(run.err, QString());
    const QJsonObject figures = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject expected =
        QJsonDocument::fromJson(
            testmaps::readFile(QDir(cases).filePath(name + QStringLiteral(".json"))))
            .object();
    QVERIFY(!expected.isEmpty());
    // Key by key, so that a failure names the figure.
    for (const QString& key : expected.keys())
        QVERIFY2(figures.value(key) == expected.value(key),
                 qPrintable(key + QStringLiteral(": ") +
                            QJsonDocument(QJsonObject{{key, figures.value(key)}}).toJson()));
    QCOMPARE(figures.keys(), expected.keys());
    QCOMPARE(run.status,
             expected.value(QStringLiteral("veredicto")) == QLatin1String("equilibrado") ? 0 : 1);
}

void TestBalance::commandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // what standard output holds, lines unwrapped; or nothing
    QTest::addColumn<QString>("err");
    const auto usage = [](const char* problem) {
        return QStringLiteral(
                   "quintaraz-map: %1\nUso: quintaraz-map balance [opciones] ARCHIVO...\n")
            .arg(QString::fromUtf8(problem));
    };
    const auto row = [](const char* title, const QStringList& arguments, int status,
                        const QString& out, const QString& err) {
        QTest::newRow(title) << arguments << status << out << err;
    };
    row("no map", {}, 2, {}, usage("faltan argumentos"));
    row("a radius of 0", {"--radius", "0", "justo.map"}, 2, {},
        usage("--radius pide un número de pasos de 1 a 10000"));
    row("a radius that is no number", {"--radius", "doce", "justo.map"}, 2, {},
        usage("--radius pide un número de pasos de 1 a 10000"));
    row("a threshold over 1", {"--threshold", "1.5", "justo.map"}, 2, {},
        usage("--threshold pide una razón de 0 a 1, como 0.9"));
    row("a blocking terrain the editor does not know", {"--blocking", "1,9", "justo.map"}, 2, {},
        usage("--blocking pide terrenos separados por comas, por número del 0 al 5 o por nombre, "
              "como 1,2,3 o roca,agua,árbol"));
    row("a blocking terrain of no name", {"--blocking", "roca,lava", "justo.map"}, 2, {},
        usage("--blocking pide terrenos separados por comas, por número del 0 al 5 o por nombre, "
              "como 1,2,3 o roca,agua,árbol"));
    row("blocking terrains by name",
        {"--blocking", "Roca, AGUA,arbol,Parcela de tierra", "--json", "justo.map"}, 0,
        "\"bloquean\":[1,2,3,4]", {});
    row("a picture of two maps", {"--picture", "p.png", "justo.map", "justo.map"}, 2, {},
        usage("--picture dibuja un solo mapa"));
    row("a threshold with a decimal comma", {"--threshold", "0,5", "justo.map"}, 0,
        "veredicto: equilibrado: los ocho jugadores tienen las mismas cifras", {});
    row("nothing blocks", {"--blocking", "", "--json", "justo.map"}, 0, "\"bloquean\":[]", {});
    row("a file that is not a map", {"justo.map", "roto.map"}, 2, "veredicto: equilibrado",
        "quintaraz-map: roto.map: fallo de lectura en el byte 7: solo hay 1 de las 289 casillas\n");
    row("two maps in JSON", {"--json", "justo.map", "cerca.map"}, 1, "[{\"archivo\":\"justo.map\"",
        {});
}

void TestBalance::commandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir folder;
    // 17 by 17 grass with the starts where each turn and mirror of the map takes them onto
    // one another: every player's figures the same, balanced. Then one start moved.
    auto map = std::make_unique<GameMap>(16, 16);
    const std::array<GridPoint, playerCount> ring{
        {{5, 2}, {11, 2}, {14, 5}, {14, 11}, {11, 14}, {5, 14}, {2, 11}, {2, 5}}};
    std::copy(ring.begin(), ring.end(), map->starts.begin());
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("justo.map")), mapText(*map)));
    map->starts[0] = GridPoint{1, 1};
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("cerca.map")), mapText(*map)));
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("roto.map")), "16,16,0<fin>"));
    const ProgramRun run =
        runTool(QStringList{QStringLiteral("balance")} + arguments, folder.path());
    QCOMPARE(run.err, err);
    QCOMPARE(run.status, status);
    if (out.isEmpty())
        QCOMPARE(run.out, QString());
    else
        QVERIFY2(
            QString(run.out).replace(QStringLiteral("\n  "), QStringLiteral(" ")).contains(out),
            qPrintable(run.out));
}

void TestBalance::textFitsEightyColumns()
{
    // A 100 by 100 map with the largest numbers a figure gets, and the example valley.
    QTemporaryDir folder;
    auto map = std::make_unique<GameMap>(99, 99, Terrain::Tree);
    for (int g = 0; g < playerCount; ++g)
        map->starts[g] = GridPoint{std::int16_t(99 * (g % 2)), std::int16_t(14 * g)};
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("bosque.map")), mapText(*map)));
    map->starts[3] = GridPoint{99, 99};
    map->terrain[map->cellIndex(99, 99)] = terrainNumber(Terrain::Rock);
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("roca.map")), mapText(*map)));
    for (const QStringList& arguments : {QStringList{"bosque.map", "roca.map", "--radius", "2500"},
                                         QStringList{"roca.map", "--blocking", "0,1,2,3,4,5"},
                                         QStringList{QStringLiteral(QUINTARAZ_VALLEY)}}) {
        const ProgramRun run =
            runTool(QStringList{QStringLiteral("balance")} + arguments, folder.path());
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split(u'\n');
        QVERIFY(lines.size() > 20);
        for (const QString& line : lines)
            QVERIFY2(line.size() < 80, qPrintable(line));
    }
}

void TestBalance::pictureShowsTerritoryDisputesAndPasses()
{
    QTemporaryDir folder;
    const DrawnMap drawn = drawnMap(QDir(cases).filePath(QStringLiteral("pasillos.txt")));
    const GameMap& map = *drawn.map;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("pasillos.map")), mapText(map)));
    const ProgramRun run =
        runTool({"balance", "--picture", "equilibrio.png", "pasillos.map"}, folder.path());
    QCOMPARE(run.status, 1);
    const QByteArray png = testmaps::readFile(folder.filePath(QStringLiteral("equilibrio.png")));
    // A palette picture, as render writes.
    QCOMPARE(png.size() > 25 ? int(png.at(25)) : -1, 3);
    const QImage picture = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    const TileArt art;
    const QImage render = MapPicture(art).render(map, 25);
    QCOMPARE(picture.size(), render.size());
    const BalanceFigures figures = measureBalance(map);
    const auto isStart = [&](GridPoint cell) {
        return std::find(map.starts.begin(), map.starts.end(), cell) != map.starts.end();
    };
    QList<GridPoint> passes; // framed: those that are no start's cell
    for (const PlayerBalance& player : figures.players)
        if (player.passCell && !isStart(*player.passCell))
            passes << *player.passCell;
    QVERIFY(!passes.isEmpty());
    int hatched = 0;
    int crossed = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const GridPoint cell{std::int16_t(x / 25), std::int16_t(y / 25)};
            const int owner = figures.owners[std::size_t(map.cellIndex(cell.x, cell.y))];
            const bool start = isStart(cell);
            const QRgb pixel = picture.pixel(x, y);
            if (passes.contains(cell))
                continue; // framed, looked at below
            if (start || owner == nobodysCell) {
                if (pixel != render.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2 is not render's").arg(x).arg(y)));
            } else if (owner == disputedCell && (x % 6 == 0 || y % 6 == 0)) {
                QCOMPARE(pixel, disputedColour);
                ++crossed;
            } else if (owner >= 0 && y % 4 == 0) {
                QCOMPARE(pixel, playerColour(art, owner));
                ++hatched;
            } else if (pixel != render.pixel(x, y)) {
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2 is not render's").arg(x).arg(y)));
            }
        }
    }
    QVERIFY(hatched > 0 && crossed > 0);
    // Each pass's frame: the player's colour all round the cell's edge.
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> pass = figures.players[g].passCell;
        if (!pass || !passes.contains(*pass) || std::count(passes.begin(), passes.end(), *pass) > 1)
            continue;
        for (int k = 0; k < 25; ++k)
            QCOMPARE(picture.pixel(pass->x * 25 + k, pass->y * 25), playerColour(art, g));
    }
}

void TestBalance::tiledNamesThePlayersWhoComeOffWorst_data()
{
    QTest::addColumn<QString>("name"); // a drawn map
    QTest::newRow("walled in by water") << QStringLiteral("encerrado");
    QTest::newRow("corridors") << QStringLiteral("pasillos");
    QTest::newRow("ties") << QStringLiteral("empates");
}

void TestBalance::tiledNamesThePlayersWhoComeOffWorst()
{
    // The extension's own functions, run by real Tiled without a window: a second extension
    // loaded after it measures a map as Map > Comprobar equilibrio does and writes down
    // what would go to the Issues panel.
    QFETCH(QString, name);
    QTemporaryDir home;
    const QDir folder(home.path());
    const QString extensions = folder.filePath(QStringLiteral(".config/tiled/extensions"));
    QVERIFY(QDir().mkpath(extensions + QStringLiteral("/quintaraz")));
    QVERIFY(QDir().mkpath(extensions + QStringLiteral("/zz-prueba")));
    QVERIFY(QFile::copy(QStringLiteral(QUINTARAZ_TILED_EXTENSION),
                        extensions + QStringLiteral("/quintaraz/quintaraz.js")));
    const DrawnMap drawn = drawnMap(QDir(cases).filePath(name + QStringLiteral(".txt")));
    const QString map = folder.filePath(name + QStringLiteral(".map"));
    const QString tmx = folder.filePath(name + QStringLiteral(".tmx"));
    const QString found = folder.filePath(QStringLiteral("visto.json"));
    QVERIFY(testmaps::writeFile(map, mapText(*drawn.map)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       folder.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QUINTARAZ_TILED_TILESETS"), QString());
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(QUINTARAZ_MAP)).path() +
                                                   u':' +
                                                   environment.value(QStringLiteral("PATH")));
    QCOMPARE(runProgram(QStringLiteral(QUINTARAZ_MAP), {"export", map, tmx}, home.path()).status,
             0);
    // A JavaScript string of a path, as JSON writes it.
    const auto quoted = [](const QString& text) {
        return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
            .mid(1)
            .chopped(1);
    };
    const QString probe =
        QStringLiteral("const map = tiled.mapFormat(\"tmx\").read(%1);\n"
                       "const measured = balanceOfMap(map, \"%2\");\n"
                       "const file = new TextFile(%3, TextFile.WriteOnly);\n"
                       "file.write(JSON.stringify({issues: balanceIssues(measured.figures, "
                       "\"%2\"), table: measured.table}));\n"
                       "file.commit();\n")
            .arg(quoted(tmx), name + QStringLiteral(".map"), quoted(found));
    QVERIFY(
        testmaps::writeFile(extensions + QStringLiteral("/zz-prueba/prueba.js"), probe.toUtf8()));
    const ProgramRun tiled = runProgram(
        QStringLiteral("tiled"), {"--export-map", tmx, folder.filePath(QStringLiteral("otra.tmx"))},
        home.path(), environment);
    QCOMPARE(tiled.status, 0);
    const QJsonObject seen = QJsonDocument::fromJson(testmaps::readFile(found)).object();
    QVERIFY2(!seen.isEmpty(), qPrintable(tiled.err));

    // Against what balance says of the same map.
    const QJsonObject figures =
        QJsonDocument::fromJson(
            runProgram(QStringLiteral(QUINTARAZ_MAP), {"balance", "--json", map}, home.path())
                .out.toUtf8())
            .object();
    QList<std::pair<int, bool>> expected; // player, and whether it is an error
    const QJsonArray players = figures.value(QStringLiteral("jugadores")).toArray();
    if (figures.value(QStringLiteral("veredicto")) == QLatin1String("injusto")) {
        int fewest = playerCount;
        for (const QJsonValue& player : players)
            fewest = std::min(fewest, player.toObject().value(QStringLiteral("alcanza")).toInt());
        for (const QJsonValue& player : players)
            if (player.toObject().value(QStringLiteral("alcanza")).toInt() == fewest)
                expected.append({player.toObject().value(QStringLiteral("jugador")).toInt(), true});
    } else {
        // Least ratio first, keys in their order on a tie.
        const QJsonObject measures = figures.value(QStringLiteral("medidas")).toObject();
        QStringList keys = measures.keys();
        const auto ratio = [&](const QString& key) {
            return measures.value(key).toObject().value(QStringLiteral("razon")).toDouble();
        };
        std::stable_sort(keys.begin(), keys.end(),
                         [&](const QString& a, const QString& b) { return ratio(a) < ratio(b); });
        for (const QString& key : keys)
            if (ratio(key) < 0.9)
                expected.append(
                    {measures.value(key).toObject().value(QStringLiteral("jugador_peor")).toInt(),
                     false});
    }
    QVERIFY(!expected.isEmpty());
    const QJsonArray issues = seen.value(QStringLiteral("issues")).toArray();
    QCOMPARE(issues.size(), expected.size());
    for (qsizetype k = 0; k < issues.size(); ++k) {
        const QJsonObject issue = issues.at(k).toObject();
        QCOMPARE(issue.value(QStringLiteral("player")).toInt(), expected.at(k).first);
        QCOMPARE(issue.value(QStringLiteral("error")).toBool(), expected.at(k).second);
        QVERIFY(
            issue.value(QStringLiteral("text"))
                .toString()
                .startsWith(
                    QStringLiteral("%1.map: jugador %2: ").arg(name).arg(expected.at(k).first)));
    }
    // The whole table for the console, under the map's own name.
    const QJsonArray table = seen.value(QStringLiteral("table")).toArray();
    QVERIFY(table.size() > 20);
    QVERIFY(table.at(0).toString().startsWith(name + QStringLiteral(".map: ")));
    QStringList lines;
    for (const QJsonValue& line : table)
        lines << line.toString();
    QVERIFY(lines.join(u'\n')
                .replace(QStringLiteral("\n  "), QStringLiteral(" "))
                .contains(QStringLiteral("veredicto: %1: %2")
                              .arg(figures.value(QStringLiteral("veredicto")).toString(),
                                   figures.value(QStringLiteral("motivo")).toString())));
}

QTEST_GUILESS_MAIN(TestBalance)
#include "tst_balance.moc"
