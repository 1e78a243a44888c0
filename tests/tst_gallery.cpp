// quintaraz-map gallery: the site's figures and pictures against balance's and render's own,
// names that try to be markup, a second run into the same folder, and whose folder it is.

#include "maptool/gallerysite.h"
#include "maptool/gallerysources.h"
#include "maptool/htmltext.h"
#include "programrun.h"
#include "system/filenames.h"
#include "testmaps.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quintaraz;

namespace {

const QString maps = QStringLiteral(QUINTARAZ_GALLERY_MAPS);

ProgramRun runTool(const QStringList& arguments, const QString& folder = {})
{
    return runProgram(QStringLiteral(QUINTARAZ_MAP), arguments, folder);
}

GalleryRun makeGallery(const QString& folder, const QStringList& arguments,
                       GallerySettings settings = {})
{
    settings.version = QStringLiteral("prueba");
    return GallerySite(folder, settings).build(gallerySources(arguments));
}

/** A file made with a name of any bytes, holding bytes. */
bool writeNamed(const QByteArray& name, const QByteArray& bytes)
{
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

/** Text of a cell of a page: its tags left out, its references read back. */
QString cellText(QString html)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    html.remove(tags);
    return html.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&#39;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"))
        .trimmed();
}

/** The rows of a page's table that follow a caption, each its cells' texts. */
QList<QStringList> tableRows(const QString& page, const QString& caption)
{
    const qsizetype start = page.indexOf(QStringLiteral("<caption>") + caption);
    const qsizetype end = page.indexOf(QLatin1String("</table>"), start);
    if (start < 0 || end < 0)
        return {};
    static const QRegularExpression row(QStringLiteral("<tr[^>]*>(.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<t[hd][^>]*>(.*?)</t[hd]>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> rows;
    for (const auto& match : row.globalMatch(page.mid(start, end - start))) {
        QStringList cells;
        for (const auto& found : cell.globalMatch(match.captured(1)))
            cells << cellText(found.captured(1));
        rows << cells;
    }
    return rows.mid(1); // the header row
}

QString readText(const QString& path)
{
    return QString::fromUtf8(testmaps::readFile(path));
}

/** Every file under a folder, from it, with its bytes and its inode. */
QMap<QString, std::pair<QByteArray, ino_t>> snapshot(const QString& folder)
{
    QMap<QString, std::pair<QByteArray, ino_t>> files;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        struct stat status {};
        ::stat(QFile::encodeName(path).constData(), &status);
        files.insert(QDir(folder).relativeFilePath(path),
                     {testmaps::readFile(path), status.st_ino});
    }
    return files;
}

/** The site's files of one map's page. */
QStringList pageFiles(const QString& slug)
{
    QStringList files;
    for (const char* end : {".html", ".map", "-mapa.png", "-equilibrio.png", "-previa.png"})
        files << QStringLiteral("mapas/") + slug + QLatin1String(end);
    return files;
}

} // namespace

class TestGallery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void escaping_data();
    void escaping();
    void slugs_data();
    void slugs();
    void mapsAgainstBalance_data();
    void mapsAgainstBalance();
    void notMapsListed();
    void hostileNames();
    void rerun();
    void ownership_data();
    void ownership();
    void commandLine_data();
    void commandLine();
    void progressOnTerminalOnly();
    void manyMapsUnderALowFileLimit();
    void fullDisk();

private:
    QTemporaryDir work_;
    QString site_;
    GalleryRun run_;
};

void TestGallery::initTestCase()
{
    QVERIFY(work_.isValid());
    // Pictures as the tool writes them, which says 100 dots an inch where a test says 96.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, false);
    site_ = work_.filePath(QStringLiteral("galeria"));
    run_ = makeGallery(site_, {maps});
    QVERIFY2(run_.written, qPrintable(run_.failedFile + u' ' + run_.problem));
}

void TestGallery::escaping_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("shell");
    QTest::newRow("plain") << QByteArray("mapas/valle.map") << "mapas/valle.map"
                           << "mapas/valle.map"
                           << "mapas/valle.map";
    QTest::newRow("markup") << QByteArray("<img src=x onerror=alert(1)>.map")
                            << "&lt;img src=x onerror=alert(1)&gt;.map"
                            << "%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E.map"
                            << "'<img src=x onerror=alert(1)>.map'";
    QTest::newRow("quotes") << QByteArray("\"';alert(1);x.map") << "&quot;&#39;;alert(1);x.map"
                            << "%22%27%3Balert%281%29%3Bx.map"
                            << "'\"'\\'';alert(1);x.map'";
    QTest::newRow("ampersand") << QByteArray("a&amp;b.map") << "a&amp;amp;b.map"
                               << "a%26amp%3Bb.map"
                               << "'a&amp;b.map'";
    QTest::newRow("not UTF-8") << QByteArray("mont\xf1"
                                             "a.map")
                               << "mont\\xf1a.map"
                               << "mont%F1a.map"
                               << "$'mont\\xf1a.map'";
    QTest::newRow("accents") << QByteArray("montaña.map") << "montaña.map"
                             << "monta%C3%B1a.map"
                             << "montaña.map";
    QTest::newRow("line break") << QByteArray("dos\nlineas.map") << "dos\\nlineas.map"
                                << "dos%0Alineas.map"
                                << "$'dos\\nlineas.map'";
}

void TestGallery::escaping()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, html);
    QFETCH(QString, url);
    QFETCH(QString, shell);
    const QString file = fileNameFromBytes(name);
    QCOMPARE(htmlText(file), html);
    QCOMPARE(urlPath(file), url);
    QCOMPARE(shellQuoted(file), shell);
}

void TestGallery::slugs_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("words");
    QTest::newRow("plain") << QByteArray("mapas/valle.map") << "valle";
    QTest::newRow("accents") << QByteArray("Montaña Ñandú.map") << "montana-nandu";
    QTest::newRow("markup") << QByteArray("<img src=x onerror=alert(1)>.map")
                            << "img-src-x-onerror-alert-1";
    QTest::newRow("quotes") << QByteArray("\"';alert(1);x.map") << "alert-1-x";
    QTest::newRow("not UTF-8") << QByteArray("mont\xf1"
                                             "a.map")
                               << "mont-a";
    QTest::newRow("nothing plain") << QByteArray("«»?.map") << "mapa";
    QTest::newRow("long") << QByteArray(60, 'a') + ".map" << QString(40, u'a');
}

void TestGallery::slugs()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, words);
    const QString slug = gallerySlug(fileNameFromBytes(name));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^%1-[0-9a-f]{10}$").arg(words)).match(slug).hasMatch(),
        qPrintable(slug));
    // The same name elsewhere is another page; the same path, written otherwise, the same.
    QVERIFY(gallerySlug(QStringLiteral("otra/") + fileNameFromBytes(name)) != slug);
    QCOMPARE(gallerySlug(QStringLiteral("./") + fileNameFromBytes(name)), slug);
}

void TestGallery::mapsAgainstBalance_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("valle") << "valle.map"
                           << "desequilibrado";
    QTest::newRow("octogonal") << "octogonal.map"
                               << "equilibrado";
    QTest::newRow("encerrado") << "encerrado.map"
                               << "injusto";
    QTest::newRow("pasillos") << "pasillos.map"
                              << "desequilibrado";
}

void TestGallery::mapsAgainstBalance()
{
    QFETCH(QString, file);
    QFETCH(QString, verdict);
    const QString path = QDir(maps).filePath(file);
    const QString slug = gallerySlug(path);
    const ProgramRun balance = runTool({QStringLiteral("balance"), QStringLiteral("--json"), path});
    const QJsonObject figures = QJsonDocument::fromJson(balance.out.toUtf8()).object();
    QCOMPARE(figures.value(QStringLiteral("veredicto")).toString(), verdict);

    // The index's row says what balance says.
    const QString index = readText(site_ + QStringLiteral("/index.html"));
    QStringList row;
    for (const QStringList& cells : tableRows(index, QStringLiteral("Mapas")))
        if (cells.value(1) == path)
            row = cells;
    QCOMPARE(row.size(), 7);
    QCOMPARE(row[2], QStringLiteral("%1x%2")
                         .arg(figures.value(QStringLiteral("columnas")).toInt())
                         .arg(figures.value(QStringLiteral("filas")).toInt()));
    QCOMPARE(row[3], verdict);
    double least = 2;
    for (const QJsonValue measure : figures.value(QStringLiteral("medidas")).toObject())
        least = std::min(least, measure.toObject().value(QStringLiteral("razon")).toDouble());
    QCOMPARE(row[5], QString::number(least, 'f', 2));
    QStringList exact;
    for (const QJsonValue symmetry : figures.value(QStringLiteral("simetrias")).toArray())
        if (symmetry[QStringLiteral("terreno_roto")].toInt() == 0 &&
            symmetry[QStringLiteral("comienzos")].toBool())
            exact << symmetry[QStringLiteral("nombre")].toString();
    QCOMPARE(row[6],
             exact.isEmpty() ? QStringLiteral("ninguna") : exact.join(QStringLiteral(", ")));

    // The page's players' table holds balance's figures, player by player.
    const QString page =
        readText(site_ + QStringLiteral("/mapas/") + slug + QStringLiteral(".html"));
    QVERIFY(page.contains(figures.value(QStringLiteral("motivo")).toString().toHtmlEscaped()));
    const QList<QStringList> players = tableRows(page, QStringLiteral("Cifras de cada jugador"));
    QCOMPARE(players.size(), 8);
    const QJsonArray expected = figures.value(QStringLiteral("jugadores")).toArray();
    for (int g = 0; g < 8; ++g) {
        const QJsonObject player = expected[g].toObject();
        const auto number = [](const QJsonValue& value) {
            return value.isNull() ? QStringLiteral("-") : QString::number(value.toInt());
        };
        QStringList values{QString::number(g + 1),
                           QStringLiteral("%1, %2")
                               .arg(player[QStringLiteral("columna")].toInt())
                               .arg(player[QStringLiteral("fila")].toInt()),
                           number(player[QStringLiteral("region")]),
                           number(player[QStringLiteral("espacio")])};
        for (const QString key : {QStringLiteral("arboles"), QStringLiteral("parcelas")})
            for (const QJsonValue count : player[key].toArray())
                values << number(count);
        for (const QString key :
             {QStringLiteral("casillas"), QStringLiteral("arboles"), QStringLiteral("parcelas")})
            values << number(player[QStringLiteral("territorio")][key]);
        for (const QString key : {QStringLiteral("rival_cercano"), QStringLiteral("rival_lejano"),
                                  QStringLiteral("alcanza"), QStringLiteral("paso_estrecho")})
            values << number(player[key]);
        QCOMPARE(players[g], values);
    }

    // The pictures are render's and balance --picture's, byte for byte; the map is the file.
    QTemporaryDir drawn;
    const QString rendered = drawn.filePath(QStringLiteral("r.png"));
    const QString balanced = drawn.filePath(QStringLiteral("b.png"));
    QCOMPARE(runTool({QStringLiteral("render"), path, rendered}).status, 0);
    runTool({QStringLiteral("balance"), QStringLiteral("--picture"), balanced, path});
    const QString base = site_ + QStringLiteral("/mapas/") + slug;
    QCOMPARE(testmaps::readFile(base + QStringLiteral("-mapa.png")), testmaps::readFile(rendered));
    QCOMPARE(testmaps::readFile(base + QStringLiteral("-equilibrio.png")),
             testmaps::readFile(balanced));
    QCOMPARE(testmaps::readFile(base + QStringLiteral(".map")), testmaps::readFile(path));
    const QImage preview(base + QStringLiteral("-previa.png"));
    QCOMPARE(std::max(preview.width(), preview.height()), 200);
}

void TestGallery::notMapsListed()
{
    // Each with check's own reason; a file in the folder that is not named .map is no map's.
    const QString index = readText(site_ + QStringLiteral("/index.html"));
    const QList<QStringList> rows = tableRows(index, QStringLiteral("Archivos que el editor"));
    QCOMPARE(rows.size(), 2);
    for (const QStringList& row : rows) {
        const ProgramRun check = runTool({QStringLiteral("check"), row[0]});
        QCOMPARE(check.out.trimmed(), row[0] + QStringLiteral(": ") + row[1]);
    }
    QVERIFY(!index.contains(QLatin1String("notas.txt")));
    QCOMPARE(run_.notMaps(), 2);
    QCOMPARE(run_.drawn.size(), 4);
}

void TestGallery::hostileNames()
{
    QTemporaryDir folder;
    const QByteArray map = testmaps::readFile(QDir(maps).filePath(QStringLiteral("encerrado.map")));
    const QList<QByteArray> names{"<img src=x onerror=alert(1)>.map", "\"';alert(1);x.map",
                                  "mont\xf1"
                                  "a.map",
                                  "<svg onload=alert(2)>.map"};
    for (const QByteArray& name : names)
        QVERIFY(writeNamed(QFile::encodeName(folder.path()) + '/' + name, map));
    QVERIFY(writeNamed(QFile::encodeName(folder.path()) + "/<b>roto<b>.map", "<fin>"));
    const QString site = folder.filePath(QStringLiteral("sitio"));
    GallerySettings settings;
    settings.title = QStringLiteral("<script>alert(3)</script> & \"mapas\"");
    const GalleryRun run = makeGallery(site, {folder.path()}, settings);
    QVERIFY2(run.written, qPrintable(run.problem));
    QCOMPARE(run.drawn.size(), 4);

    const QString index = readText(site + QStringLiteral("/index.html"));
    for (const char* markup : {"<img src=x", "<svg onload", "<b>roto", "\"';alert"})
        QVERIFY2(!index.contains(QLatin1String(markup)), markup);
    for (const char* shown :
         {"&lt;img src=x onerror=alert(1)&gt;.map", "&quot;&#39;;alert(1);x.map", "mont\\xf1a.map",
          "&lt;svg onload=alert(2)&gt;.map", "&lt;b&gt;roto&lt;b&gt;.map"})
        QVERIFY2(index.contains(QLatin1String(shown)), shown);
    // The only scripts are the site's own file; its own files have plain names.
    static const QRegularExpression script(QStringLiteral("<script[^>]*>"));
    for (const QString& file : snapshot(site).keys()) {
        QVERIFY2(QRegularExpression(QStringLiteral("^[a-z0-9./-]+$")).match(file).hasMatch(),
                 qPrintable(file));
        if (!file.endsWith(QLatin1String(".html")))
            continue;
        const QString page = readText(site + u'/' + file);
        QCOMPARE(page.count(script), file == QLatin1String("index.html") ? 1 : 0);
        QVERIFY(!page.contains(QLatin1String("onerror=alert(1)>")));
    }
    const QString latin =
        readText(site + QStringLiteral("/mapas/") +
                 gallerySlug(fileNameFromBytes(QFile::encodeName(folder.path()) + "/mont\xf1"
                                                                                  "a.map")) +
                 QStringLiteral(".html"));
    QVERIFY(latin.contains(QLatin1String("<h1>")));
    QVERIFY(latin.contains(QLatin1String("mont\\xf1a.map</h1>")));
    QVERIFY(latin.contains(QLatin1String("mont\\xf1a.map&#39;</code>"))); // $'...' for a shell
}

void TestGallery::rerun()
{
    QTemporaryDir folder;
    const QString collection = folder.filePath(QStringLiteral("mapas"));
    QVERIFY(QDir().mkpath(collection));
    for (const QString name :
         {QStringLiteral("valle"), QStringLiteral("pasillos"), QStringLiteral("encerrado")})
        QVERIFY(QFile::copy(QDir(maps).filePath(name + QStringLiteral(".map")),
                            collection + u'/' + name + QStringLiteral(".map")));
    const QString site = folder.filePath(QStringLiteral("sitio"));
    const auto slug = [&](const char* name) {
        return gallerySlug(collection + u'/' + QLatin1String(name) + QStringLiteral(".map"));
    };
    QCOMPARE(makeGallery(site, {collection}).drawn.size(), 3);
    const auto first = snapshot(site);

    // Nothing changed: nothing written, not even the index.
    GalleryRun again = makeGallery(site, {collection});
    QVERIFY2(again.written, qPrintable(again.failedFile + u' ' + again.problem));
    QVERIFY(again.drawn.isEmpty());
    QVERIFY(again.removed.isEmpty());
    QCOMPARE(snapshot(site), first);

    // One map changed, one gone, a person's file beside the pages.
    QByteArray pasillos = testmaps::readFile(collection + QStringLiteral("/pasillos.map"));
    pasillos.replace(6, 1, "1"); // the first cell, rock
    QVERIFY(testmaps::writeFile(collection + QStringLiteral("/pasillos.map"), pasillos));
    QVERIFY(QFile::remove(collection + QStringLiteral("/encerrado.map")));
    QVERIFY(testmaps::writeFile(site + QStringLiteral("/mapas/notas.txt"), "mías"));
    again = makeGallery(site, {collection});
    QVERIFY2(again.written, qPrintable(again.failedFile + u' ' + again.problem));
    QCOMPARE(again.drawn, QStringList{collection + QStringLiteral("/pasillos.map")});
    QStringList removed = again.removed;
    removed.sort();
    QStringList gone = pageFiles(slug("encerrado"));
    gone.sort();
    QCOMPARE(removed, gone);
    const auto second = snapshot(site);
    for (const QString& file : pageFiles(slug("valle")))
        QCOMPARE(second.value(file), first.value(file)); // the same bytes in the same file
    for (const QString& file : gone)
        QVERIFY(!second.contains(file));
    QCOMPARE(second.value(QStringLiteral("mapas/notas.txt")).first, QByteArray("mías"));
    QCOMPARE(second.value(pageFiles(slug("pasillos"))[1]).first, pasillos);
    QVERIFY(second.value(QStringLiteral("index.html")) !=
            first.value(QStringLiteral("index.html")));

    // Other options, or a page a person deleted: made anew.
    QVERIFY(QFile::remove(site + u'/' + pageFiles(slug("valle"))[0]));
    QCOMPARE(makeGallery(site, {collection}).drawn,
             QStringList{collection + QStringLiteral("/valle.map")});
    GallerySettings wider;
    wider.balance.radius = 20;
    QCOMPARE(makeGallery(site, {collection}, wider).drawn.size(), 2);

    // The site inside the collection: its copies of the maps are not taken for maps.
    const QString inside = collection + QStringLiteral("/sitio");
    QCOMPARE(makeGallery(inside, {collection}, wider).drawn.size(), 2);
    again = makeGallery(inside, {collection}, wider);
    QVERIFY(again.drawn.isEmpty());
    QCOMPARE(again.files.size(), 2);

    // A map that is no longer one: its page goes, and the index says why.
    QVERIFY(testmaps::writeFile(collection + QStringLiteral("/valle.map"), "99,99,<fin>"));
    again = makeGallery(site, {collection}, wider);
    QVERIFY(again.drawn.isEmpty());
    removed = again.removed;
    removed.sort();
    gone = pageFiles(slug("valle"));
    gone.sort();
    QCOMPARE(removed, gone);
    QCOMPARE(again.notMaps(), 1);
    QCOMPARE(tableRows(readText(site + QStringLiteral("/index.html")),
                       QStringLiteral("Archivos que el editor"))
                 .value(0)
                 .value(0),
             collection + QStringLiteral("/valle.map"));
}

void TestGallery::ownership_data()
{
    QTest::addColumn<QString>("before"); // what the folder is, or holds
    QTest::addColumn<bool>("force");
    QTest::addColumn<QString>("problem"); // empty when the gallery is written
    const QString foreign = QStringLiteral("no es una carpeta hecha por gallery");
    const QString broken = QStringLiteral("no es de una galería");
    QTest::newRow("no folder") << "" << false << "";
    QTest::newRow("empty folder") << "vacia" << false << "";
    QTest::newRow("a person's folder") << "fotos.txt" << false << foreign;
    QTest::newRow("a person's folder, forced") << "fotos.txt" << true << "";
    QTest::newRow("a gallery's file that is not") << "quintaraz-galeria.json:{}" << false << broken;
    QTest::newRow("one that points outside")
        << R"(quintaraz-galeria.json:{"formato":"quintaraz-map gallery 1","mapas":[{"nombre":"x","pagina":"x-0","resumen":"0000000000000000000000000000000000000000000000000000000000000000","columnas":17,"filas":17,"veredicto":0,"razon":1,"archivos":[{"ruta":"../fuera.txt","bytes":5}]}]})"
        << false << broken;
    QTest::newRow("one that points outside, forced")
        << R"(quintaraz-galeria.json:{"formato":"quintaraz-map gallery 1","mapas":[{"nombre":"x","pagina":"x-0","resumen":"0000000000000000000000000000000000000000000000000000000000000000","columnas":17,"filas":17,"veredicto":0,"razon":1,"archivos":[{"ruta":"../fuera.txt","bytes":5}]}]})"
        << true << "";
    QTest::newRow("a file") << "archivo" << true << QStringLiteral("no es una carpeta");
}

void TestGallery::ownership()
{
    QFETCH(QString, before);
    QFETCH(bool, force);
    QFETCH(QString, problem);
    QTemporaryDir folder;
    const QString site = folder.filePath(QStringLiteral("sitio"));
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("fuera.txt")), "fuera"));
    if (before == QLatin1String("archivo")) {
        QVERIFY(testmaps::writeFile(site, "mío"));
    } else if (!before.isEmpty()) {
        QVERIFY(QDir().mkpath(site));
        const QString name = before.section(u':', 0, 0);
        if (name != QLatin1String("vacia"))
            QVERIFY(testmaps::writeFile(site + u'/' + name, before.section(u':', 1).toUtf8()));
    }
    const auto was = snapshot(folder.path());
    GallerySettings settings;
    settings.force = force;
    const GalleryRun run =
        makeGallery(site, {QDir(maps).filePath(QStringLiteral("valle.map"))}, settings);
    QVERIFY2(run.written == problem.isEmpty(), qPrintable(run.problem));
    QVERIFY2(run.problem.contains(problem), qPrintable(run.problem));
    const auto now = snapshot(folder.path());
    if (!problem.isEmpty()) {
        QCOMPARE(now, was); // nothing written, nothing removed
        return;
    }
    QVERIFY(now.contains(QStringLiteral("sitio/index.html")));
    QCOMPARE(now.value(QStringLiteral("fuera.txt")).first, QByteArray("fuera"));
    if (before == QLatin1String("fotos.txt"))
        QCOMPARE(now.value(QStringLiteral("sitio/fotos.txt")),
                 was.value(QStringLiteral("sitio/fotos.txt")));
}

void TestGallery::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // SITIO is the output, MAPAS the maps' folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // a line of standard output or error
    QTest::addColumn<bool>("written");
    const QString usage = QStringLiteral("Uso: quintaraz-map gallery");
    QTest::newRow("every file a map")
        << QStringList{"--output", "SITIO", "MAPAS/valle.map", "MAPAS/pasillos.map"} << 0
        << "SITIO/index.html: 2 mapas, 2 dibujados" << true;
    QTest::newRow("a file that is no map")
        << QStringList{"--output", "SITIO", "MAPAS/valle.map", "MAPAS/roto.map"} << 2
        << "MAPAS/roto.map: archivo corrupto" << true;
    QTest::newRow("a file that is not there")
        << QStringList{"--output", "SITIO", "MAPAS/valle.map", "MAPAS/no-existe.map"} << 2
        << "MAPAS/no-existe.map: no se puede abrir" << true;
    QTest::newRow("the verdict's options")
        << QStringList{"--radius", "6",     "--threshold",    "0,5", "--blocking", "1",
                       "--output", "SITIO", "MAPAS/valle.map"}
        << 0 << "SITIO/index.html: 1 mapa, 1 dibujado" << true;
    QTest::newRow("no output") << QStringList{"MAPAS/valle.map"} << 2 << usage << false;
    QTest::newRow("no maps") << QStringList{"--output", "SITIO"} << 2 << usage << false;
    QTest::newRow("a radius of none")
        << QStringList{"--radius", "0", "--output", "SITIO", "MAPAS/valle.map"} << 2 << usage
        << false;
    QTest::newRow("an unknown option")
        << QStringList{"--teems", "x", "--output", "SITIO", "MAPAS/valle.map"} << 2 << usage
        << false;
    QTest::newRow("output that is a map")
        << QStringList{"--output", "MAPAS/valle.map", "MAPAS/pasillos.map"} << 2
        << "MAPAS/valle.map: existe y no es una carpeta" << false;
}

void TestGallery::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(bool, written);
    QTemporaryDir folder;
    QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("MAPAS"))));
    for (const QString name :
         {QStringLiteral("valle.map"), QStringLiteral("pasillos.map"), QStringLiteral("roto.map")})
        QVERIFY(QFile::copy(QDir(maps).filePath(name),
                            folder.filePath(QStringLiteral("MAPAS/")) + name));
    const ProgramRun run =
        runTool(QStringList{QStringLiteral("gallery")} + arguments, folder.path());
    QCOMPARE(run.status, status);
    QVERIFY2((run.out + run.err).contains(said), qPrintable(run.out + run.err));
    QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("SITIO/index.html"))), written);
    if (!written)
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("SITIO"))));
}

void TestGallery::progressOnTerminalOnly()
{
    // A progress line on a terminal (script gives the tool one), none in a log.
    const QString collection =
        maps + QStringLiteral("/valle.map ") + maps + QStringLiteral("/pasillos.map");
    QTemporaryDir folder;
    const ProgramRun terminal = runProgram(QStringLiteral("script"),
                                           {QStringLiteral("-qec"),
                                            QStringLiteral("%1 gallery --output sitio %2")
                                                .arg(QStringLiteral(QUINTARAZ_MAP), collection),
                                            QStringLiteral("/dev/null")},
                                           folder.path());
    QCOMPARE(terminal.status, 0);
    QVERIFY2(terminal.out.contains(QLatin1String("mapa 2 de 2")), qPrintable(terminal.out));
    const ProgramRun log =
        runTool({QStringLiteral("gallery"), QStringLiteral("--output"), QStringLiteral("otro"),
                 maps + QStringLiteral("/valle.map"), maps + QStringLiteral("/pasillos.map")},
                folder.path());
    QCOMPARE(log.status, 0);
    QVERIFY(!log.err.contains(QLatin1String("mapa 2 de 2")));
    QVERIFY(!log.out.contains(u'\r') && !log.err.contains(u'\r'));
}

void TestGallery::manyMapsUnderALowFileLimit()
{
    // The safe writer holds each of a run's files open until all are written: 30 maps are
    // 150 files, past a soft limit of 64 open files, and within the hard limit.
    QTemporaryDir folder;
    const QByteArray map = testmaps::readFile(QDir(maps).filePath(QStringLiteral("encerrado.map")));
    for (int k = 0; k < 30; ++k)
        QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("mapa%1.map").arg(k)), map));
    const ProgramRun run =
        runProgram(QStringLiteral("prlimit"),
                   {QStringLiteral("--nofile=64:4096"), QStringLiteral(QUINTARAZ_MAP),
                    QStringLiteral("gallery"), QStringLiteral("--output"), QStringLiteral("sitio"),
                    QStringLiteral(".")},
                   folder.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QStringLiteral("sitio/index.html: 30 mapas, 30 dibujados\n"));
    QCOMPARE(QDir(folder.filePath(QStringLiteral("sitio/mapas"))).count(), 30u * 5 + 2);
}

void TestGallery::fullDisk()
{
    // A full disk while a changed map's page is written: the site stays as it was, whole.
    QTemporaryDir folder;
    const QString map = folder.filePath(QStringLiteral("pasillos.map"));
    QVERIFY(QFile::copy(QDir(maps).filePath(QStringLiteral("pasillos.map")), map));
    const QString site = folder.filePath(QStringLiteral("sitio"));
    const QStringList arguments{QStringLiteral("gallery"), QStringLiteral("--output"), site, map};
    QCOMPARE(runTool(arguments).status, 0);
    const auto before = snapshot(site);
    QByteArray changed = testmaps::readFile(map);
    changed.replace(6, 1, "1");
    QVERIFY(testmaps::writeFile(map, changed));
    const ProgramRun run = runProgram(QStringLiteral(QUINTARAZ_ON_FULL_DISK),
                                      QStringList{site, QStringLiteral(QUINTARAZ_MAP)} + arguments);
    if (run.status == 77)
        QSKIP("this machine cannot make a mount namespace");
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(QLatin1String("no queda espacio")), qPrintable(run.err));
    // Copied out of the full disk: the same names and bytes, in files of their own.
    const auto after = snapshot(site + QStringLiteral(".after"));
    QCOMPARE(after.keys(), before.keys());
    for (const QString& file : before.keys())
        QVERIFY2(after.value(file).first == before.value(file).first, qPrintable(file));
}

QTEST_GUILESS_MAIN(TestGallery)
#include "tst_gallery.moc"
