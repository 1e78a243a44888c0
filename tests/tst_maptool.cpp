// quintaraz-map as scripts and file managers use it, and the pictures it draws.

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "editor/editor.h"
#include "fakedialogs.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "mutations.h"
#include "programrun.h"
#include "referencemap.h"
#include "render/mappicture.h"
#include "render/maprenderer.h"
#include "testmaps.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <tuple>
#include <unistd.h>

using namespace quintaraz;

namespace {

/** Runs quintaraz-map to its end in folder. */
ProgramRun runTool(const QStringList& arguments, const QString& folder)
{
    return runProgram(QStringLiteral(QUINTARAZ_MAP), arguments, folder);
}

/** The example map, with `replaced` bytes from `at` on replaced by `text` when given. */
QByteArray example(std::optional<int> at = {}, const QByteArray& text = {}, int replaced = 1)
{
    QByteArray map = testmaps::exampleText();
    return at ? map.replace(*at, replaced, text) : map;
}

/** A PNG file's colour type: 2 for RGB, 3 for a palette; -1 for what is not a PNG. */
int colourType(const QByteArray& png)
{
    // The signature, then the header chunk: length, "IHDR", width, height, bit depth, type.
    if (!png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR" || png.size() < 26)
        return -1;
    return png[24] == 8 ? png[25] : -1; // and eight bits a sample
}

LoadOutcome outcomeNamed(const QString& line)
{
    const QString status = line.section(QStringLiteral(": "), 1);
    for (const auto& [prefix, outcome] : {std::pair{"correcto", LoadOutcome::Loaded},
                                          {"tamaño rechazado", LoadOutcome::SizeRejected},
                                          {"archivo corrupto", LoadOutcome::FormatError},
                                          {"fallo de lectura", LoadOutcome::ReadFailure}})
        if (status.startsWith(QString::fromUtf8(prefix)))
            return outcome;
    return LoadOutcome::NotReadable;
}

/** A warning as data, in short: its kind, its players and its cell. */
QString warningKey(const QJsonObject& warning)
{
    QStringList players;
    for (const QJsonValue& player : warning.value(QStringLiteral("jugadores")).toArray())
        players << QString::number(player.toInt());
    if (warning.contains(QStringLiteral("jugador")))
        players << QString::number(warning.value(QStringLiteral("jugador")).toInt());
    return QStringLiteral("%1 %2 %3,%4")
        .arg(warning.value(QStringLiteral("tipo")).toString(), players.join(u'+'))
        .arg(warning.value(QStringLiteral("columna")).toInt(-1))
        .arg(warning.value(QStringLiteral("fila")).toInt(-1));
}

/**
 * What a game may not expect of a map that opens, found plainly from the rules: for each
 * player in turn, two starts on one cell (with each later player), a start outside the map
 * or on rock or water; then the first cell of an unknown terrain; then more than eight
 * starts, counted from the text.
 */
QStringList plainWarnings(const referencemap::Map& map, const QByteArray& text)
{
    QStringList warnings;
    const auto key = [](const char* kind, const QString& players, QPoint cell) {
        return QStringLiteral("%1 %2 %3,%4")
            .arg(QLatin1String(kind), players)
            .arg(cell.x())
            .arg(cell.y());
    };
    for (int g = 0; g < 8; ++g) {
        const QPoint start = map.starts[g];
        for (int later = g + 1; later < 8; ++later)
            if (map.starts[later] == start)
                warnings << key("misma_celda", QStringLiteral("%1+%2").arg(g + 1).arg(later + 1),
                                start);
        if (start.x() > map.width || start.y() > map.height) {
            warnings << key("comienzo_fuera_del_mapa", QString::number(g + 1), start);
            continue;
        }
        const int terrain = map.terrain[start.y() * (map.width + 1) + start.x()];
        if (terrain == 1 || terrain == 2)
            warnings << key("comienzo_bloqueado", QString::number(g + 1), start);
    }
    for (int k = 0; k < map.terrain.size(); ++k) {
        if (map.terrain[k] < 0 || map.terrain[k] > 5) {
            warnings << key("terreno_desconocido", QString(),
                            QPoint(k % (map.width + 1), k / (map.width + 1)));
            break;
        }
    }
    const QList<QByteArray> entries =
        referencemap::pieces(referencemap::pieces(text, "<fin>")[1], ",");
    const qsizetype extra = entries.size() - 8 - (entries.last().trimmed().isEmpty() ? 1 : 0);
    if (extra > 0)
        warnings << key("comienzos_de_mas", QString(), QPoint(-1, -1));
    return warnings;
}

} // namespace

class TestMapTool : public QObject {
    Q_OBJECT

private slots:
    void checkAgreesWithTheEditorsReader();
    void checkSaysWhereAndWhy_data();
    void checkSaysWhereAndWhy();
    void renderIsWhatTheViewShows();
    void picturesKeepTheirPixels_data();
    void picturesKeepTheirPixels();
    void thumbnailsAreSmallAndShowEveryStart();
    void picturesReplaceOnlyPictures_data();
    void picturesReplaceOnlyPictures();
    void thumbnailGoesIntoTheFileTheCallerHolds();

private:
    TileArt art;
};

void TestMapTool::checkAgreesWithTheEditorsReader()
{
    // The seed files of the fuzzer and the mutated files of the reliability tests, read
    // by the tool in one run and, one by one, by the plain second reader of the tests.
    QTemporaryDir folder;
    QStringList names;
    QList<QByteArray> texts;
    const QDir corpus(QStringLiteral(QUINTARAZ_CORPUS));
    for (const QString& name : corpus.entryList(QDir::Files)) {
        names << QStringLiteral("semilla-") + name;
        texts << testmaps::readFile(corpus.filePath(name));
    }
    QRandomGenerator random(11);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray valid = mutations::randomMapText(random);
        names << QStringLiteral("mutado-%1.map").arg(i);
        texts << (i % 3 == 0 ? valid : mutations::mutated(valid, random));
    }
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(testmaps::writeFile(folder.filePath(names[i]), texts[i]));

    // In one run of the tool, as a map collection's CI runs it: the outcome of each, and of
    // those that open the warnings as data, each beside what the rules plainly say.
    const ProgramRun run = runTool(QStringList{"check", "--json"} + names, folder.path());
    QCOMPARE(run.status, 1); // some do not open
    const QJsonArray reports = QJsonDocument::fromJson(run.out.toUtf8()).array();
    QCOMPARE(reports.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QJsonObject report = reports[i].toObject();
        QCOMPARE(report.value(QStringLiteral("archivo")).toString(), names[i]);
        const referencemap::Map expected = referencemap::read(texts[i]);
        const bool opens = report.value(QStringLiteral("correcto")).toBool();
        const QString why = report.value(QStringLiteral("motivo")).toString();
        if (outcomeNamed(names[i] + QStringLiteral(": ") +
                         (opens ? QStringLiteral("correcto") : why)) != expected.outcome)
            QFAIL(qPrintable(
                QStringLiteral("%1: %2 disagrees with the second reader").arg(names[i], why)));
        if (!opens)
            continue;
        QCOMPARE(report.value(QStringLiteral("columnas")).toInt(), expected.width + 1);
        QStringList warnings;
        for (const QJsonValue& warning : report.value(QStringLiteral("avisos")).toArray())
            warnings << warningKey(warning.toObject());
        QCOMPARE(warnings, plainWarnings(expected, texts[i]));
    }
}

void TestMapTool::checkSaysWhereAndWhy_data()
{
    // The example map: "16,16," (6 bytes), 289 cells "0," (cell k at byte 6 + 2k), "<fin>"
    // at 584, then the starts from byte 589: "2 3,15 3,8 8,0 12,4 16,9 16,12 16,16 16,".
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines"); // after "name: "
    const auto row = [](const char* title, const QByteArray& text, int status,
                        const QStringList& lines, const char* name = "mapa.map") {
        QTest::newRow(title) << QString::fromLatin1(name) << text << status << lines;
    };
    row("opens", example(), 0, {"correcto (17x17, 8 comienzos)"});
    row("a letter among the cells", example(10, "a"), 1,
        {"archivo corrupto en el byte 10: la casilla de la columna 2, fila 0 es «a», que no es "
         "un número"});
    row("a cell too large", example(46, "40000"), 1,
        {"fallo de lectura en el byte 46: la casilla de la columna 3, fila 1 es «40000», fuera "
         "de -32768..32767"});
    row("cells missing", "16,16,0,0<fin>2 3,", 1,
        {"fallo de lectura en el byte 9: solo hay 2 de las 289 casillas"});
    row("an empty eighth start", example(617, "12 16,", 12), 1,
        {"fallo de lectura en el byte 623: el comienzo del jugador 8, «», no tiene columna y "
         "fila"});
    row("seven starts", example(617, "12 16", 12), 1,
        {"fallo de lectura en el byte 622: solo hay 7 comienzos de los 8"});
    row("width 15", example(0, "15", 2), 1,
        {"tamaño rechazado en el byte 0: el ancho 15 da 16 columnas; el editor abre de 17 a 100 "
         "columnas"});
    row("height 100", example(3, "100", 2), 1,
        {"tamaño rechazado en el byte 3: el alto 100 da 101 filas; el editor abre de 17 a 100 "
         "filas"});
    row("width 0", example(0, "00", 2), 1,
        {"tamaño rechazado en el byte 0: el ancho 00 da 1 columna; el editor abre de 17 a 100 "
         "columnas"});
    row("a negative height", example(3, "-5", 2), 1,
        {"tamaño rechazado en el byte 3: el alto -5 no da ninguna fila; el editor abre de 17 a "
         "100 filas"});
    row("a width of many digits", example(0, "00000000000000000000000015", 2), 1,
        {"tamaño rechazado en el byte 0: el ancho 000000000000000000000000... no da de 17 a 100 "
         "columnas, lo que el editor abre"});
    row("no marker", "16,16,0,0,", 1, {"no se puede abrir: falta la marca <fin>"});
    row("a blank before a start", example(589, " 2"), 1,
        {"archivo corrupto en el byte 589: la columna del comienzo del jugador 1, «», no es un "
         "número"});
    row("a row beyond the grid", example(600, "100"), 1,
        {"fallo de lectura en el byte 600: la fila del comienzo del jugador 3, «100», está "
         "fuera de 0..99"});
    row("not named .map", example(), 1, {"el nombre no termina en .map y el editor no lo abre"},
        "mapa.txt");
    // Files that are plainly something else are named, with what to do.
    const char* markers = "no se puede abrir: este mapa tiene las marcas de conflicto que git "
                          "escribe cuando no conoce el mezclador de mapas: ejecute `quintaraz-map "
                          "git-setup` (una vez en cada copia, o `--global`) y después `git "
                          "checkout -m -- ARCHIVO`";
    row("git's conflict markers",
        "<<<<<<< HEAD\n" + example(10, "2") + "\n=======\n" + example(10, "1") + "\n>>>>>>> suya\n",
        1, {markers});
    row("git's conflict markers, diff3 style",
        "<<<<<<< ours\n" + example(10, "2") + "\n||||||| base\n" + example() + "\n=======\n" +
            example(10, "1") + "\n>>>>>>> theirs\n",
        1, {markers});
    row("a closing marker that begins no line", "<<<<<<< a\n16,16,>>>>>>> b", 1,
        {"no se puede abrir: falta la marca <fin>"});
    row("a byte-order mark before a map", "\xEF\xBB\xBF" + example(), 1,
        {"no se puede abrir: el archivo empieza con la marca de orden de bytes de UTF-8 (BOM), que "
         "algunos editores de Windows escriben y el juego no lee; sin ella es un mapa: guárdelo "
         "como UTF-8 sin BOM, o quítela con `sed -i '1s/^\\xEF\\xBB\\xBF//' -- ARCHIVO`"});
    row("a byte-order mark before a damaged map", "\xEF\xBB\xBF" + example(10, "a"), 1,
        {"no se puede abrir: el archivo empieza con la marca de orden de bytes de UTF-8 (BOM), que "
         "algunos editores de Windows escriben y el juego no lee; sin ella tampoco es un mapa: "
         "archivo corrupto en el byte 13: la casilla de la columna 2, fila 0 es «a», que no es un "
         "número"});
    row("a Git LFS pointer",
        "version https://git-lfs.github.com/spec/v1\noid sha256:"
        "4d7a214614ab2935c943f9e0ff69d22eadbb8f32b1258daaa5e2ca24d17e2393\nsize 722\n",
        1,
        {"no se puede abrir: es un puntero de Git LFS, no el mapa: LFS guarda el mapa aparte y "
         "deja en su lugar este texto, que solo lo nombra; `git lfs pull` trae los mapas, pero git "
         "no "
         "puede mezclar punteros casilla a casilla: los mapas son texto pequeño y no necesitan "
         "LFS"});
    const QString opens = QStringLiteral("correcto (17x17, 8 comienzos)");
    row("a start on water", example(112, "2"), 0,
        {opens, "  aviso: el comienzo del jugador 1 (columna 2, fila 3) está en agua"});
    row("unknown terrain", example(16, "7"), 0,
        {opens, "  aviso: 1 casilla tiene un terreno que el editor no conoce: 7, en la columna 5, "
                "fila 0"});
    row("nine starts", example() + "1 1,", 0,
        {opens, "  aviso: hay 9 comienzos; se leen los 8 primeros"});
    row("a final line break", example() + "\r\n", 0, {opens});
    row("a start outside the map", example(589, "20"), 0,
        {opens, "  aviso: el comienzo del jugador 1 (columna 20, fila 3) está fuera del mapa"});
    row("two starts on one cell", example(593, "2 3", 4), 0,
        {opens, "  aviso: los jugadores 1 y 2 comienzan en la misma casilla (columna 2, fila 3); "
                "el editor deja al jugador 1 sin comienzo"});
}

void TestMapTool::checkSaysWhereAndWhy()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(name), text));
    const ProgramRun run = runTool({QStringLiteral("check"), name}, folder.path());
    QCOMPARE(run.status, status);
    lines.first().prepend(name + QLatin1String(": "));
    QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts), lines);
    if (status == 0) // warnings fail a strict check
        QCOMPARE(runTool({QStringLiteral("check"), QStringLiteral("--strict"), name}, folder.path())
                     .status,
                 lines.size() > 1 ? 1 : 0);
}

void TestMapTool::renderIsWhatTheViewShows()
{
    QRandomGenerator random(7);
    GameMap map = testmaps::randomMap(random).map;
    for (std::int16_t& terrain : map.terrain)
        terrain = std::int16_t(random.bounded(-1, 7)); // unknown too
    const MapPicture picture(art);
    const QImage whole = picture.render(map, 25).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(whole.size(), QSize(25 * map.columns(), 25 * map.rows()));
    FakeDialogs dialogs;
    Editor editor(art, dialogs);
    editor.document() = testmaps::opened(map);
    for (const QPoint origin :
         {QPoint(0, 0), QPoint(1, 2), QPoint(map.maxwidth - 15, map.maxheight - 15)}) {
        editor.document().scrollX = std::int16_t(origin.x());
        editor.document().scrollY = std::int16_t(origin.y());
        editor.drawmap();
        QCOMPARE(whole.copy(QRect(origin * 25, QSize(400, 400))), editor.view());
    }
    // Other sizes: every pixel of a cell of 25 becomes a block of 3 by 3, the nearest.
    const QImage large = picture.render(map, 75).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(large.size(), whole.size() * 3);
    QCOMPARE(large.scaled(whole.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation), whole);
}

void TestMapTool::picturesKeepTheirPixels_data()
{
    // tests/pictures: maps beside their pictures as render drew them when it wrote 32-bit
    // PNGs, named MAP.CELL.png. Render now writes them with a palette; thumbnails, smoothed,
    // stay RGB and decode to the picture drawn in memory.
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("argument"); // render's cell, or the thumbnail's size
    QTest::addColumn<int>("colourType");
    const QDir folder(QStringLiteral(QUINTARAZ_PICTURES));
    QVERIFY2(folder.entryList({QStringLiteral("*.png")}).size() >= 8, qPrintable(folder.path()));
    for (const QString& name : folder.entryList({QStringLiteral("*.png")})) {
        const QStringList parts = name.split(u'.');
        QTest::newRow(qPrintable(name)) << QStringLiteral("render") << parts[0] << parts[1] << 3;
    }
    for (const QString& map : folder.entryList({QStringLiteral("*.map")}))
        for (const char* size : {"64", "256"})
            QTest::addRow("%s, thumbnail %s", qPrintable(map), size)
                << QStringLiteral("thumbnail") << map.chopped(4) << QString::fromLatin1(size) << 2;
}

void TestMapTool::picturesKeepTheirPixels()
{
    QFETCH(QString, command);
    QFETCH(QString, map);
    QFETCH(QString, argument);
    QFETCH(int, colourType);
    const QDir pictures(QStringLiteral(QUINTARAZ_PICTURES));
    const QString file = pictures.filePath(map + QStringLiteral(".map"));
    const bool render = command == QLatin1String("render");
    QTemporaryDir folder;
    const ProgramRun run =
        runTool(render ? QStringList{command, file, QStringLiteral("salida.png"),
                                     QStringLiteral("--cell"), argument}
                       : QStringList{command, file, QStringLiteral("salida.png"), argument},
                folder.path());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QByteArray written = testmaps::readFile(folder.filePath(QStringLiteral("salida.png")));
    QCOMPARE(::colourType(written), colourType);
    QImage picture;
    if (render) {
        picture = QImage(pictures.filePath(QStringLiteral("%1.%2.png").arg(map, argument)));
    } else {
        picture = MapPicture(art).thumbnail(readMapFile(file).map, argument.toInt());
    }
    QVERIFY(!picture.isNull());
    QCOMPARE(QImage::fromData(written, "PNG").convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));
}

void TestMapTool::thumbnailsAreSmallAndShowEveryStart()
{
    // Grass, whose colours are far from every player's.
    GameMap map(99, 49);
    for (int p = 0; p < 8; ++p)
        map.starts[p] = testmaps::cell(12 * p + 5, 6 * p + 3);
    const QImage thumbnail = MapPicture(art).thumbnail(map, 64);
    QCOMPARE(thumbnail.size(), QSize(64, 32));
    // Each marker shows its own colour, the one at the centre of its cross.
    for (int p = 0; p < 8; ++p) {
        const QRgb colour = art.player(p).pixel(12, 12);
        bool seen = false;
        for (int y = 0; y < thumbnail.height() && !seen; ++y)
            for (int x = 0; x < thumbnail.width() && !seen; ++x)
                seen = qAbs(qRed(thumbnail.pixel(x, y)) - qRed(colour)) +
                           qAbs(qGreen(thumbnail.pixel(x, y)) - qGreen(colour)) +
                           qAbs(qBlue(thumbnail.pixel(x, y)) - qBlue(colour)) <
                       24;
        QVERIFY2(seen, qPrintable(QStringLiteral("player %1").arg(p + 1)));
    }
    // However small the size asked for.
    for (const int size : {1, 3, 8})
        QVERIFY(MapPicture(art).thumbnail(map, size).width() == size);
}

void TestMapTool::picturesReplaceOnlyPictures_data()
{
    QTest::addColumn<QString>("command"); // render, thumbnail or balance (--picture)
    QTest::addColumn<QString>("target");  // what the output name leads to before
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said"); // after "quintaraz-map: OUTPUT: "; nothing when it works
    const auto row = [](const char* title, const char* command, const char* target,
                        const char* fault, const char* said) {
        QTest::newRow(title) << command << target << fault << QString::fromUtf8(said);
    };
    const char* notPlain = "no es un archivo normal; no se sobrescribe";
    row("render, a new name", "render", "nothing", "", "");
    row("render over a picture", "render", "picture", "", "");
    row("render, disk full", "render", "picture", "disk full", "no queda espacio en el disco");
    row("thumbnail, disk full", "thumbnail", "nothing", "disk full",
        "no queda espacio en el disco");
    row("render, file size limit", "render", "picture", "file size limit",
        "el archivo superaría el tamaño que el sistema permite");
    row("render into a pipe", "render", "pipe", "", notPlain);
    row("thumbnail into a pipe", "thumbnail", "pipe", "", notPlain);
    row("render into a device", "render", "device", "", notPlain);
    row("render over a map", "render", "map", "", "ya existe y no es un PNG; no se sobrescribe");
    row("thumbnail over its own map", "thumbnail", "input", "",
        "es el propio archivo que se lee; no se sobrescribe");
    row("balance over a picture", "balance", "picture", "", "");
    row("balance, disk full", "balance", "picture", "disk full", "no queda espacio en el disco");
    row("balance into a pipe", "balance", "pipe", "", notPlain);
    row("balance over a map", "balance", "map", "", "ya existe y no es un PNG; no se sobrescribe");
    row("balance over its own map", "balance", "input", "",
        "es el propio archivo que se lee; no se sobrescribe");
}

void TestMapTool::picturesReplaceOnlyPictures()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(QString, fault);
    QFETCH(QString, said);
    const bool root = ::geteuid() == 0;
    if (target == QLatin1String("device") && !root)
        QSKIP("only root may make a device node");
    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("disco"));
    QVERIFY(QDir().mkpath(folder));
    // A map whose picture is some 100 KB at 25 pixels a cell.
    GameMap drawn = testmaps::mapOfSize(39, 39).map;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 40; ++y)
            drawn.setTerrainAt(x, y, std::int16_t((x * 3 + y * 5) % 6));
    const QString map = folder + QStringLiteral("/valle.map");
    QVERIFY(testmaps::writeFile(map, mapText(drawn)));
    const QString output =
        target == QLatin1String("input") ? map : folder + QStringLiteral("/salida.png");
    const QByteArray name = QFile::encodeName(output);
    if (target == QLatin1String("picture")) {
        QImage old(4, 4, QImage::Format_RGB32);
        old.fill(Qt::red);
        QVERIFY(old.save(output));
        // Another user's, readable by its group: both stay so, as far as this user may.
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        if (root)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
    } else if (target == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (target == QLatin1String("device")) {
        QCOMPARE(::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 7)), 0); // as /dev/full
    } else if (target == QLatin1String("map")) {
        QVERIFY(testmaps::writeFile(output, testmaps::exampleText()));
    }
    struct stat before {};
    const bool existed = ::stat(name.constData(), &before) == 0;
    const QByteArray bytesBefore =
        existed && S_ISREG(before.st_mode) ? testmaps::readFile(output) : QByteArray();

    const bool balance = command == QLatin1String("balance");
    QStringList arguments = balance ? QStringList{command, QStringLiteral("--picture"), output, map}
                                    : QStringList{command, map, output};
    if (command == QLatin1String("thumbnail"))
        arguments << QStringLiteral("256");
    QStringList launcher;
    if (fault == QLatin1String("disk full"))
        launcher = {QStringLiteral(QUINTARAZ_ON_FULL_DISK), folder};
    else if (fault == QLatin1String("file size limit"))
        launcher = {QStringLiteral("prlimit"), QStringLiteral("--fsize=4096")};
    const QStringList line = launcher + QStringList{QStringLiteral(QUINTARAZ_MAP)} + arguments;
    const ProgramRun run = runProgram(line.constFirst(), line.mid(1));
    if (!launcher.isEmpty() && run.status == 77)
        QSKIP("no mount namespace here");
    QCOMPARE(run.err, said.isEmpty() ? QString()
                                     : QStringLiteral("quintaraz-map: %1: %2\n").arg(output, said));
    // balance's own statuses: 1 says the map is not balanced, 2 that the picture failed.
    const int unbalanced = balance && measureBalance(drawn).verdict != BalanceVerdict::Balanced;
    QCOMPARE(run.status, said.isEmpty() ? unbalanced : balance ? 2 : 1);

    // A full disk's files are looked at in the copy made before it went.
    const QString result = fault == QLatin1String("disk full")
                               ? QString(output).replace(folder, folder + QStringLiteral(".after"))
                               : output;
    struct stat after {};
    const bool exists = ::stat(QFile::encodeName(result).constData(), &after) == 0;
    if (said.isEmpty()) {
        QVERIFY(exists);
        QCOMPARE(QImage(result).size(), MapPicture(art).render(drawn, 25).size());
        if (existed)
            QCOMPARE(std::tuple(after.st_uid, after.st_gid, after.st_mode),
                     std::tuple(before.st_uid, before.st_gid, before.st_mode));
        return;
    }
    // Refused or failed: what stood there stands there still, and nothing stands where
    // nothing stood.
    QCOMPARE(exists, existed);
    if (existed) {
        QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        QCOMPARE(after.st_rdev, before.st_rdev);
        if (S_ISREG(before.st_mode))
            QCOMPARE(testmaps::readFile(result), bytesBefore);
    }
}

void TestMapTool::thumbnailGoesIntoTheFileTheCallerHolds()
{
    // As a preview service does: it makes the output file, holds it open while the tool
    // runs, then reads the picture through what it held.
    QTemporaryDir folder;
    QVERIFY(
        testmaps::writeFile(folder.filePath(QStringLiteral("valle.map")), testmaps::exampleText()));
    QFile held(folder.filePath(QStringLiteral("previa.png")));
    QVERIFY(held.open(QIODevice::ReadWrite | QIODevice::NewOnly));
    const ProgramRun run = runTool({QStringLiteral("thumbnail"), QStringLiteral("valle.map"),
                                    QStringLiteral("previa.png"), QStringLiteral("128")},
                                   folder.path());
    QCOMPARE(run.status, 0);
    QVERIFY(held.seek(0));
    QCOMPARE(QImage::fromData(held.readAll(), "PNG").size(), QSize(128, 128));
}

QTEST_GUILESS_MAIN(TestMapTool)
#include "tst_maptool.moc"
