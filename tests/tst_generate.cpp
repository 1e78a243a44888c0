// Generated maps: every promise of quintaraz-map generate, checked with the map tool's own
// reader, check and balance, and the symmetries with transforms of this test's own; the same
// seed gives the same bytes, and the recorded maps in generate/ show any change to the maps.

#include "generate/mapgenerator.h"
#include "generate/splitmix64.h"
#include "generate/terrainpainter.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "programrun.h"
#include "testmaps.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>
#include <set>

using namespace quintaraz;

namespace {

ProgramRun runTool(const QStringList& arguments, const QString& folder = {})
{
    return runProgram(QStringLiteral(QUINTARAZ_MAP), arguments, folder);
}

/** A cell's image under a transform of a map whose highest column and row are w and h. */
using Transform = std::function<GridPoint(GridPoint, int w, int h)>;

GridPoint at(int x, int y)
{
    return {std::int16_t(x), std::int16_t(y)};
}

const Transform mirrorVertical = [](GridPoint p, int w, int) { return at(w - p.x, p.y); };
const Transform mirrorHorizontal = [](GridPoint p, int, int h) { return at(p.x, h - p.y); };
const Transform halfTurn = [](GridPoint p, int w, int h) { return at(w - p.x, h - p.y); };
const Transform transposed = [](GridPoint p, int, int) { return at(p.y, p.x); };

/**
 * A kind of symmetry: the transforms the map must be the same under, the one that takes
 * player k to player k + 4, and a symmetry that balance then finds exact.
 */
struct Kind {
    const char* name;
    QList<Transform> transforms;
    Transform pairing;
    bool square;
    const char* foundByBalance;
};

const QList<Kind> kinds{
    {"espejo-vertical", {mirrorVertical}, mirrorVertical, false, "espejo-vertical"},
    {"espejo-horizontal", {mirrorHorizontal}, mirrorHorizontal, false, "espejo-horizontal"},
    {"giro-180", {halfTurn}, halfTurn, false, "giro-180"},
    {"cuadrantes", {mirrorVertical, mirrorHorizontal}, halfTurn, false, "giro-180"},
    {"octogonal", {mirrorVertical, mirrorHorizontal, transposed}, halfTurn, true, "giro-90"},
};

const Kind& kindNamed(const QString& name)
{
    for (const Kind& kind : kinds)
        if (name == QLatin1String(kind.name))
            return kind;
    return kinds.first();
}

/** The map the tool wrote, read with its own reader; nothing when it does not load. */
std::optional<GameMap> readBack(const QString& file)
{
    MapReading reading = readMapFile(file);
    if (reading.outcome != LoadOutcome::Loaded)
        return std::nullopt;
    return std::move(reading.map);
}

/** Rock and water block a step, as balance walks by default. */
bool blocksStep(int terrain)
{
    return terrain == terrainNumber(Terrain::Rock) || terrain == terrainNumber(Terrain::Water);
}

/** Cells that share their terrain with each neighbour they have on the map. */
int uniformCells(const GameMap& map)
{
    int uniform = 0;
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int x = 0; x <= map.maxwidth; ++x) {
            bool same = true;
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const GridPoint next = at(x + dx, y + dy);
                same &= !map.contains(next) || map.terrainAt(next.x, next.y) == map.terrainAt(x, y);
            }
            uniform += same;
        }
    }
    return uniform;
}

/** What is wrong with a map's symmetry under a kind, or nothing. */
QString symmetryProblem(const GameMap& map, const Kind& kind)
{
    const int w = map.maxwidth;
    const int h = map.maxheight;
    for (const Transform& transform : kind.transforms) {
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x)
                if (const GridPoint image = transform(at(x, y), w, h);
                    map.terrainAt(x, y) != map.terrainAt(image.x, image.y))
                    return QStringLiteral("cell %1,%2 is not as its image").arg(x).arg(y);
    }
    for (int g = 0; g < 4; ++g)
        if (!(kind.pairing(*map.starts[g], w, h) == *map.starts[g + 4]))
            return QStringLiteral("player %1 is not player %2's image").arg(g + 5).arg(g + 1);
    // Every start off the axes, each of them a column or row of its own or a line between two.
    std::set<std::pair<int, int>> starts;
    for (const auto& start : map.starts) {
        if (2 * start->x == w || 2 * start->y == h ||
            (kind.square && (start->x == start->y || start->x + start->y == w)))
            return QStringLiteral("a start on an axis at %1,%2").arg(start->x).arg(start->y);
        starts.insert({start->x, start->y});
    }
    // The set of starts onto itself; on the octagonal map, one orbit: the images of player 1.
    for (const auto& start : map.starts) {
        for (const Transform& transform : kind.transforms) {
            const GridPoint image = transform(*start, w, h);
            if (!starts.count({image.x, image.y}))
                return QStringLiteral("the image of start %1,%2 is none")
                    .arg(start->x)
                    .arg(start->y);
        }
    }
    if (kind.square) {
        std::set<std::pair<int, int>> orbit{{map.starts[0]->x, map.starts[0]->y}};
        for (int round = 0; round < 3; ++round)
            for (const auto& [x, y] : std::set(orbit))
                for (const Transform& transform : kind.transforms)
                    orbit.insert({transform(at(x, y), w, h).x, transform(at(x, y), w, h).y});
        if (orbit != starts)
            return QStringLiteral("the starts are not one orbit");
    }
    return {};
}

} // namespace

class TestGenerate : public QObject {
    Q_OBJECT

private slots:
    void randomStreamIsSplitMix64();
    void rockAndWaterNeverCutGroundApart_data();
    void rockAndWaterNeverCutGroundApart();
    void everyMapKeepsEveryPromise_data();
    void everyMapKeepsEveryPromise();
    void sameOptionsSameBytes();
    void recordedMaps_data();
    void recordedMaps();
    void commandLines_data();
    void commandLines();
    void outputIsNeverReplacedUnasked();
    void impossibleOptionsWriteNothing();
    void readmeShowsWhatGenerateSays();
};

void TestGenerate::randomStreamIsSplitMix64()
{
    // The first outputs of the reference implementation (Vigna's splitmix64.c) for 1234567.
    SplitMix64 random(1234567);
    const QList<quint64> expected{6457827717110365317u, 3203168211198807973u, 9817491932198370423u,
                                  4593380528125082431u, 16408922859458223821u};
    for (const quint64 value : expected)
        QCOMPARE(quint64(random.next()), value);
    // Bounded draws stay below their bound and reach every value.
    std::set<std::uint32_t> seen;
    for (int k = 0; k < 1000; ++k) {
        const std::uint32_t value = random.below(7);
        QVERIFY(value < 7);
        seen.insert(value);
    }
    QCOMPARE(int(seen.size()), 7);
}

void TestGenerate::rockAndWaterNeverCutGroundApart_data()
{
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 40; ++seed)
        QTest::addRow("seed %d", seed) << seed;
}

void TestGenerate::rockAndWaterNeverCutGroundApart()
{
    // Patches of every size begun anywhere, edges and corners included, far past any share a
    // map is made with: what stays passable is one region, as a walk from any cell finds it.
    QFETCH(int, seed);
    SplitMix64 random{std::uint64_t(seed)};
    const int maxwidth = random.between(16, 40);
    GameMap map(maxwidth, random.between(16, 40));
    const std::vector<Symmetry> mirrors{Symmetry::MirrorVertical, Symmetry::MirrorHorizontal};
    const CellOrbits orbits(map, seed % 2 ? mirrors : std::vector<Symmetry>{});
    TerrainPainter painter(map);
    for (int patch = 0; patch < 200; ++patch)
        painter.growPatch(int(random.below(std::uint32_t(map.cellCount()))), random.between(1, 60),
                          random.below(2) ? Terrain::Rock : Terrain::Water, random.between(0, 3),
                          orbits, random, nullptr);
    int passable = 0;
    std::vector<int> reached;
    std::vector<bool> seen(std::size_t(map.cellCount()));
    for (int k = 0; k < map.cellCount(); ++k) {
        if (blocksStep(map.terrain[std::size_t(k)]))
            continue;
        ++passable;
        if (reached.empty()) {
            reached.push_back(k);
            seen[std::size_t(k)] = true;
        }
    }
    for (std::size_t next = 0; next < reached.size(); ++next) {
        const int x = reached[next] % map.columns();
        const int y = reached[next] / map.columns();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const GridPoint step = at(x + dx, y + dy);
            const int cell = map.cellIndex(step.x, step.y);
            if (map.contains(step) && !seen[std::size_t(cell)] &&
                !blocksStep(map.terrain[std::size_t(cell)])) {
                seen[std::size_t(cell)] = true;
                reached.push_back(cell);
            }
        }
    }
    // Far more than any share: the rule, not a lack of paint, keeps the ground whole.
    QVERIFY2(passable < map.cellCount() * 3 / 4, qPrintable(QString::number(passable)));
    QCOMPARE(int(reached.size()), passable);
}

void TestGenerate::everyMapKeepsEveryPromise_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("firstSeed");
    // Odd and even sides, square and not, the smallest and the largest; last, the rectangles
    // one or two cells off the smallest square, where no layout is quite even on open ground.
    const QList<std::pair<int, int>> sizes{{17, 17},  {18, 18}, {100, 100}, {17, 100},
                                           {100, 17}, {61, 23}, {60, 40},   {40, 41},
                                           {18, 17},  {17, 19}, {19, 17}};
    int firstSeed = 1;
    for (const auto& [columns, rows] : sizes) {
        for (const QString kind : {"espejo-vertical", "espejo-horizontal", "giro-180", "cuadrantes",
                                   "octogonal", "auto"}) {
            if (kind == QLatin1String("octogonal") && columns != rows)
                continue;
            QTest::addRow("%s %dx%d", qPrintable(kind), columns, rows)
                << kind << columns << rows << firstSeed;
            firstSeed += 1000;
        }
    }
}

void TestGenerate::everyMapKeepsEveryPromise()
{
    QFETCH(QString, kind);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, firstSeed);
    const Kind& symmetry =
        kindNamed(kind == QLatin1String("auto") ? (columns == rows ? QStringLiteral("octogonal")
                                                                   : QStringLiteral("cuadrantes"))
                                                : kind);
    const int least = std::min(columns, rows) / 3;
    QTemporaryDir folder;
    QStringList files;
    for (int seed = firstSeed; seed < firstSeed + 6; ++seed) {
        const QString file = QStringLiteral("mapa-%1.map").arg(seed);
        const ProgramRun run =
            runTool({"generate", "--size", QStringLiteral("%1x%2").arg(columns).arg(rows), "--seed",
                     QString::number(seed), "--symmetry", kind, file},
                    folder.path());
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(QStringLiteral("semilla %1\n").arg(seed)) &&
                     run.out.contains(QStringLiteral("equilibrio: equilibrado: ")),
                 qPrintable(run.out));
        files << file;

        const auto map = readBack(folder.filePath(file));
        QVERIFY2(map, qPrintable(file));
        QCOMPARE(map->columns(), columns);
        QCOMPARE(map->rows(), rows);
        QCOMPARE(symmetryProblem(*map, symmetry), QString());
        QVERIFY2(2 * uniformCells(*map) >= map->cellCount(), qPrintable(file));
        for (int g = 0; g < playerCount; ++g)
            for (int h = g + 1; h < playerCount; ++h)
                QVERIFY(std::abs(map->starts[g]->x - map->starts[h]->x) +
                            std::abs(map->starts[g]->y - map->starts[h]->y) >=
                        least);
    }

    // check --strict says nothing but that each map is a map.
    const ProgramRun check = runTool(QStringList{"check", "--strict"} + files, folder.path());
    QCOMPARE(check.status, 0);
    QStringList expected;
    for (const QString& file : files)
        expected
            << QStringLiteral("%1: correcto (%2x%3, 8 comienzos)").arg(file).arg(columns).arg(rows);
    QCOMPARE(check.out.trimmed().split(u'\n'), expected);

    // balance: equilibrado, one region for all eight, trees and soil within 2R for each, no
    // rival nearer than the least distance, and the symmetry asked exact.
    const ProgramRun balance = runTool(QStringList{"balance", "--json"} + files, folder.path());
    QCOMPARE(balance.status, 0);
    const QJsonArray reports = QJsonDocument::fromJson(balance.out.toUtf8()).array();
    QCOMPARE(reports.size(), files.size());
    for (const QJsonValue& value : reports) {
        const QJsonObject report = value.toObject();
        QCOMPARE(report[QStringLiteral("veredicto")].toString(), QStringLiteral("equilibrado"));
        for (const QJsonValue& player : report[QStringLiteral("jugadores")].toArray()) {
            const QJsonObject figures = player.toObject();
            QCOMPARE(figures[QStringLiteral("alcanza")].toInt(), 7);
            QVERIFY(figures[QStringLiteral("arboles")].toArray().at(1).toInt() > 0);
            QVERIFY(figures[QStringLiteral("parcelas")].toArray().at(1).toInt() > 0);
            QVERIFY(figures[QStringLiteral("rival_cercano")].toInt() >= least);
        }
        int exact = 0;
        for (const QJsonValue& found : report[QStringLiteral("simetrias")].toArray())
            if (found[QStringLiteral("nombre")].toString() ==
                    QLatin1String(symmetry.foundByBalance) &&
                found[QStringLiteral("terreno_roto")].toInt() == 0 &&
                found[QStringLiteral("comienzos")].toBool())
                ++exact;
        QCOMPARE(exact, 1);
    }
}

void TestGenerate::sameOptionsSameBytes()
{
    QTemporaryDir folder;
    const QStringList options{"generate", "--size", "53x31",   "--symmetry", "espejo-horizontal",
                              "--water",  "10",     "--trees", "12"};
    QByteArray previous;
    for (const char* seed : {"77", "77", "78"}) {
        const QString file = QStringLiteral("m%1.map").arg(QDir(folder.path()).count());
        QCOMPARE(runTool(options + QStringList{"--seed", seed, file}, folder.path()).status, 0);
        const QByteArray bytes = testmaps::readFile(folder.filePath(file));
        QVERIFY(!bytes.isEmpty());
        // The same seed twice: the same file; another seed: another map.
        if (!previous.isEmpty())
            QCOMPARE(bytes == previous, QByteArray(seed) == "77");
        previous = bytes;
    }
    // In the library too, with every option the same.
    GeneratorOptions options2;
    options2.seed = 123;
    const GeneratedMap once = generateMap(options2);
    const GeneratedMap again = generateMap(options2);
    QVERIFY(once.found);
    QCOMPARE(mapText(again.map), mapText(once.map));
}

void TestGenerate::recordedMaps_data()
{
    // Each file is named by its options: KIND-COLUMNSxROWS-SEED.map, every other option as
    // it is by default. A new case is a new file; a change to the generator changes them.
    QTest::addColumn<QString>("file");
    const QDir recorded(QStringLiteral(QUINTARAZ_GENERATED_MAPS));
    const QStringList files = recorded.entryList({QStringLiteral("*.map")});
    QVERIFY(files.size() >= 5);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << recorded.filePath(file);
}

void TestGenerate::recordedMaps()
{
    QFETCH(QString, file);
    static const QRegularExpression name(QStringLiteral("^([a-z0-9-]+)-(\\d+x\\d+)-(\\d+)\\.map$"));
    const QRegularExpressionMatch options = name.match(QFileInfo(file).fileName());
    QVERIFY(options.hasMatch());
    QTemporaryDir folder;
    const ProgramRun run = runTool({"generate", "--symmetry", options.captured(1), "--size",
                                    options.captured(2), "--seed", options.captured(3), "m.map"},
                                   folder.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(testmaps::readFile(folder.filePath(QStringLiteral("m.map"))),
             testmaps::readFile(file));
}

void TestGenerate::commandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    const auto row = [](const char* name, const QStringList& arguments, int status,
                        const QString& said) {
        QTest::newRow(name) << (QStringList{"generate"} + arguments) << status << said;
    };
    const QString usage = QStringLiteral("\nUso: quintaraz-map generate [opciones] SALIDA.map\n");
    row("no output", {}, 2, QStringLiteral("quintaraz-map: faltan argumentos") + usage);
    row("a size too small", {"--size", "16x40", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --size pide columnas x filas, cada una de 17 a 100, como "
                       "60x40") +
            usage);
    row("a size that is no size", {"--size", "60", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --size pide columnas x filas"));
    row("an unknown symmetry", {"--symmetry", "espiral", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --symmetry pide espejo-vertical, espejo-horizontal, "
                       "giro-180, cuadrantes, octogonal o auto"));
    row("octagonal on a rectangle", {"--symmetry", "octogonal", "--size", "60x40", "a.map"}, 2,
        QStringLiteral("quintaraz-map: la simetría octogonal pide un mapa cuadrado, como "
                       "--size 40x40"));
    row("a share over 100", {"--trees", "101", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --trees pide un porcentaje de 0 a 100"));
    row("a negative share", {"--soil", "-1", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --soil pide un porcentaje de 0 a 100"));
    row("too much rock and water", {"--water", "30", "--rock", "11", "a.map"}, 2,
        QStringLiteral("quintaraz-map: el agua y la roca juntas pasan del 40 % del mapa"));
    row("too much terrain", {"--trees", "50", "--earth", "40", "a.map"}, 2,
        QStringLiteral("quintaraz-map: los terrenos juntos pasan del 90 % del mapa"));
    row("no tries", {"--tries", "0", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --tries pide un número de 1 a 10000"));
    row("a seed too large", {"--seed", "9007199254740992", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --seed pide un número entero de 0 a 9007199254740991"));
    row("a seed with a sign", {"--seed", "+5", "a.map"}, 2,
        QStringLiteral("quintaraz-map: --seed pide un número entero"));
    row("an output that is no map", {"a.png"}, 2,
        QStringLiteral("quintaraz-map: la salida debe terminar en .map"));
    row("the largest seed", {"--seed", "9007199254740991", "--size", "17x17", "a.map"}, 0,
        QStringLiteral("a.map: 17x17 casillas, octogonal, semilla 9007199254740991\n"));
    row("help", {"--help"}, 0,
        QStringLiteral("Uso: quintaraz-map generate [opciones] SALIDA.map\n"));
}

void TestGenerate::commandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const ProgramRun run = runTool(arguments, folder.path());
    QCOMPARE(run.status, status);
    QVERIFY2((run.out + run.err).startsWith(said), qPrintable(run.out + run.err));
    // Only a map that keeps every promise is written.
    QCOMPARE(QFileInfo::exists(folder.filePath(QStringLiteral("a.map"))),
             status == 0 && !said.startsWith(QLatin1String("Uso")));
}

void TestGenerate::outputIsNeverReplacedUnasked()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("valle.map"));
    QVERIFY(testmaps::writeFile(file, testmaps::exampleText()));
    // Without a seed, one is chosen and said; the same map again from it.
    const ProgramRun refused = runTool({"generate", "--json", "valle.map"}, folder.path());
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("valle.map: ya existe con otro contenido; no se "
                                                 "sobrescribe (--force lo reemplaza)")),
             qPrintable(refused.err));
    QCOMPARE(testmaps::readFile(file), testmaps::exampleText());

    const ProgramRun forced =
        runTool({"generate", "--json", "--force", "valle.map"}, folder.path());
    QCOMPARE(forced.status, 0);
    const QJsonObject report = QJsonDocument::fromJson(forced.out.toUtf8()).object();
    QCOMPARE(report[QStringLiteral("escrito")].toBool(), true);
    QCOMPARE(report[QStringLiteral("veredicto")].toString(), QStringLiteral("equilibrado"));
    QCOMPARE(report[QStringLiteral("razones")].toObject().keys(),
             (QStringList{"arboles", "espacio", "parcelas", "rival_cercano", "territorio"}));
    const qint64 seed = report[QStringLiteral("semilla")].toInteger(-1);
    QVERIFY(seed >= 0);
    const QByteArray made = testmaps::readFile(file);
    QVERIFY(made != testmaps::exampleText());
    // The command it gives makes the same file, which is then left as it is, unasked.
    QStringList again = report[QStringLiteral("orden")].toString().split(u' ');
    QCOMPARE(again.takeFirst(), QStringLiteral("quintaraz-map"));
    QVERIFY(again.contains(QString::number(seed)));
    QCOMPARE(runTool(again, folder.path()).status, 0);
    QCOMPARE(testmaps::readFile(file), made);
}

void TestGenerate::impossibleOptionsWriteNothing()
{
    QTemporaryDir folder;
    const ProgramRun run =
        runTool({"generate", "--size", "17x17", "--water", "30", "--rock", "10", "--trees", "20",
                 "--soil", "10", "--earth", "20", "--tries", "3", "--seed", "1", "x.map"},
                folder.path());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.out.contains(QStringLiteral("candidatos: 3 de 3 como mucho")),
             qPrintable(run.out));
    QVERIFY2(run.err.startsWith(QStringLiteral("quintaraz-map: x.map: ninguno de los 3 mapas "
                                               "candidatos cumple lo prometido (")),
             qPrintable(run.err));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

void TestGenerate::readmeShowsWhatGenerateSays()
{
    // The README's example, run as it is written: the same words, figures and seed.
    const QString readme = QString::fromUtf8(testmaps::readFile(QStringLiteral(QUINTARAZ_README)));
    static const QRegularExpression example(
        QStringLiteral("```console\n\\$ quintaraz-map (generate [^\n]*)\n(.*?)```"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch block = example.match(readme);
    QVERIFY2(block.hasMatch(), "README.md shows no run of generate");
    QTemporaryDir folder;
    const ProgramRun run = runTool(block.captured(1).split(u' '), folder.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, block.captured(2));
}

QTEST_GUILESS_MAIN(TestGenerate)
#include "tst_generate.moc"
