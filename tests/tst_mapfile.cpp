#include "map/mapfilename.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "map/piecesplitter.h"
#include "testmaps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quintaraz;
using testmaps::exampleMap;
using testmaps::exampleText;
using testmaps::readFile;
using testmaps::writeFile;

Q_DECLARE_METATYPE(quintaraz::LoadOutcome)

namespace {

QByteArray grassCells(int count)
{
    return QByteArray("0,").repeated(count);
}

const QByteArray header = "16,16,";
const QByteArray eightStarts = "2 3,15 3,8 8,0 12,4 16,9 16,12 16,16 16,";
const QByteArray validCells = header + grassCells(289);

} // namespace

class TestMapFile : public QObject {
    Q_OBJECT

private slots:
    void splitting_data();
    void splitting();
    void extensionCheck_data();
    void extensionCheck();
    void writesTheExampleByteForByte();
    void readsTheExample();
    void outcomes_data();
    void outcomes();
    void startsFollowTheFile_data();
    void startsFollowTheFile();
    void roundTripKeepsEveryRandomMap();
    void playersKeepTheirNumbers();
    void onlyTheStartsThereAreAreWritten();
    void unreadableFiles();
    void largeFiles_data();
    void largeFiles();
    void fileCutShortWhileRead();
    void failedSaveKeepsTheOldFile();
    void saveLeavesNoTemporaryFile();
    void savingOverAFileKeepsWhatTheUserSet_data();
    void savingOverAFileKeepsWhatTheUserSet();
};

void TestMapFile::splitting_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<QList<QByteArray>>("pieces");
    using L = QList<QByteArray>;
    QTest::newRow("empty pieces count") << QByteArray("1,,") << QByteArray(",") << L{"1", "", ""};
    QTest::newRow("empty text") << QByteArray("") << QByteArray(",") << L{};
    QTest::newRow("only a separator") << QByteArray(",") << QByteArray(",") << L{"", ""};
    QTest::newRow("no separator") << QByteArray("abc") << QByteArray(",") << L{"abc"};
    QTest::newRow("marker") << QByteArray("a<fin>b<fin>c") << QByteArray("<fin>")
                            << L{"a", "b", "c"};
    QTest::newRow("left to right")
        << QByteArray("<fin<fin>>") << QByteArray("<fin>") << L{"<fin", ">"};
    QTest::newRow("doubled blank") << QByteArray("2  3") << QByteArray(" ") << L{"2", "", "3"};
}

void TestMapFile::splitting()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, separator);
    QFETCH(QList<QByteArray>, pieces);
    PieceSplitter splitter(std::string_view(text.constData(), size_t(text.size())),
                           std::string_view(separator.constData(), size_t(separator.size())));
    QList<QByteArray> found;
    std::string_view piece;
    while (splitter.next(piece))
        found.append(QByteArray(piece.data(), qsizetype(piece.size())));
    QCOMPARE(found, pieces);
}

void TestMapFile::extensionCheck_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "mundo.map" << true;
    QTest::newRow("several dots") << "mi.mundo.v2.map" << true;
    QTest::newRow("no dot, exactly map") << "map" << true;
    QTest::newRow("only the extension") << ".map" << true;
    QTest::newRow("accented name") << "ñandú.map" << true;
    QTest::newRow("capitals") << "mundo.MAP" << false;
    QTest::newRow("mixed case") << "mundo.Map" << false;
    QTest::newRow("txt") << "mundo.txt" << false;
    QTest::newRow("map then txt") << "mundo.map.txt" << false;
    QTest::newRow("ends in a dot") << "mundo.map." << false;
    QTest::newRow("longer extension") << "mundo.mapa" << false;
    QTest::newRow("no dot") << "mundo" << false;
    QTest::newRow("empty") << "" << false;
}

void TestMapFile::extensionCheck()
{
    QFETCH(QString, title);
    QFETCH(bool, accepted);
    QCOMPARE(hasMapExtension(title), accepted);
}

void TestMapFile::writesTheExampleByteForByte()
{
    const QByteArray text = mapText(exampleMap().map);
    QCOMPARE(text.size(), 629);
    QCOMPARE(text, exampleText());
}

void TestMapFile::readsTheExample()
{
    const MapReading reading = readMapText(exampleText().toStdString());
    QCOMPARE(reading.outcome, LoadOutcome::Loaded);
    QCOMPARE(reading.map, exampleMap().map);
    QCOMPARE(reading.map.startAt(testmaps::cell(2, 3)), 0);
    QCOMPARE(reading.map.startAt(testmaps::cell(16, 16)), 7);
}

void TestMapFile::outcomes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<LoadOutcome>("outcome");
    using O = LoadOutcome;
    const QByteArray cells = validCells + "<fin>";
    auto row = [](const char* name, const QByteArray& text, O outcome) {
        QTest::newRow(name) << text << outcome;
    };
    row("valid", cells + eightStarts, O::Loaded);
    row("CR LF after the last entry", cells + eightStarts + "\r\n", O::Loaded);
    row("numbers after the last cell", validCells + "5,7,x,<fin>" + eightStarts, O::Loaded);
    row("third number in an entry", cells + "3 4 5," + eightStarts.mid(4), O::Loaded);
    row("entries after the eighth", cells + eightStarts + "1 1,junk,", O::Loaded);
    row("text after a second marker", cells + eightStarts + "<fin>anything", O::Loaded);
    row("last entry without its comma", cells + eightStarts.chopped(1), O::Loaded);
    row("largest map", "99,99," + grassCells(10000) + "<fin>" + eightStarts, O::Loaded);
    row("16-bit limits", header + "-32768,32767," + grassCells(287) + "<fin>" + eightStarts,
        O::Loaded);
    row("entry beyond the map, inside the grid", cells + "50 50," + eightStarts.mid(4), O::Loaded);

    row("empty file", "", O::NotReadable);
    row("no marker", validCells + eightStarts, O::NotReadable);
    row("marker in lower case", validCells + "<FIN>" + eightStarts, O::NotReadable);
    row("only the marker", "<fin>" + eightStarts, O::NotReadable);
    row("header not a number", "a,16,<fin>", O::NotReadable);
    row("one header number", "16<fin>", O::NotReadable);
    row("header beyond 16 bits", "40000,16,<fin>", O::NotReadable);
    row("header with a blank", " 16,16,<fin>", O::NotReadable);
    row("byte-order mark", "\xEF\xBB\xBF" + cells + eightStarts, O::NotReadable);

    row("width 15", "15,40,<fin>", O::SizeRejected);
    row("width 100", "100,16,<fin>", O::SizeRejected);
    row("negative height", "16,-16,<fin>", O::SizeRejected);

    row("header only", "16,16,<fin>", O::FormatError);
    row("letter among the cells", header + "0,0,0,a," + grassCells(285) + "<fin>" + eightStarts,
        O::FormatError);
    row("fraction", header + "1.5," + grassCells(288) + "<fin>" + eightStarts, O::FormatError);
    row("plus sign", header + "+1," + grassCells(288) + "<fin>" + eightStarts, O::FormatError);
    row("exponent", header + "1e3," + grassCells(288) + "<fin>" + eightStarts, O::FormatError);
    row("blank before a cell", header + " 1," + grassCells(288) + "<fin>" + eightStarts,
        O::FormatError);
    row("lone minus", header + "-," + grassCells(288) + "<fin>" + eightStarts, O::FormatError);
    row("one cell short, with its comma", header + grassCells(288) + "<fin>" + eightStarts,
        O::FormatError);
    row("leading blank in an entry", cells + " 2 3," + eightStarts.mid(4), O::FormatError);
    row("two blanks in an entry", cells + "2  3," + eightStarts.mid(4), O::FormatError);
    row("letter as a row", cells + "2 a," + eightStarts.mid(4), O::FormatError);
    row("letter, then a huge row", cells + "a 99999," + eightStarts.mid(4), O::FormatError);

    row("one cell short", header + grassCells(287) + "0<fin>" + eightStarts, O::ReadFailure);
    row("cell beyond 16 bits", header + "32768," + grassCells(288) + "<fin>" + eightStarts,
        O::ReadFailure);
    row("cell of thirty digits",
        header + QByteArray(30, '9') + "," + grassCells(288) + "<fin>" + eightStarts,
        O::ReadFailure);
    row("no starts", cells, O::ReadFailure);
    row("seven starts", cells + "2 3,15 3,8 8,0 12,4 16,9 16,12 16,", O::ReadFailure);
    row("entry with one number", cells + "2," + eightStarts.mid(4), O::ReadFailure);
    row("empty entry", cells + "," + eightStarts.mid(4), O::ReadFailure);
    row("column 100", cells + "100 3," + eightStarts.mid(4), O::ReadFailure);
    row("negative row", cells + "2 -1," + eightStarts.mid(4), O::ReadFailure);
    row("huge column, then a letter", cells + "99999 a," + eightStarts.mid(4), O::ReadFailure);
}

void TestMapFile::outcomes()
{
    QFETCH(QByteArray, text);
    QFETCH(LoadOutcome, outcome);
    const MapReading reading = readMapText(std::string_view(text.constData(), size_t(text.size())));
    QCOMPARE(reading.outcome, outcome);
    if (outcome != LoadOutcome::Loaded)
        return;
    QVERIFY(mapSizeLimits.contains(reading.map.maxwidth));
    QVERIFY(mapSizeLimits.contains(reading.map.maxheight));
    QCOMPARE(reading.map.terrain.size(), std::size_t(reading.map.cellCount()));
}

void TestMapFile::startsFollowTheFile_data()
{
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QList<bool>>("placed");
    using L = QList<bool>;
    const L all(8, true);
    QTest::newRow("eight starts") << eightStarts << all;
    QTest::newRow("beyond the map") << QByteArray("50 50,") + eightStarts.mid(4)
                                    << L{false, true, true, true, true, true, true, true};
    QTest::newRow("two on one cell") << QByteArray("2 3,2 3,") + eightStarts.mid(9)
                                     << L{false, true, true, true, true, true, true, true};
}

void TestMapFile::startsFollowTheFile()
{
    QFETCH(QByteArray, entries);
    QFETCH(QList<bool>, placed);
    // The map in memory had starts elsewhere: none of them survives the open.
    MapDocument document = testmaps::mapOfSize(40, 40);
    document.map.starts[3] = testmaps::cell(5, 5);
    const QByteArray text = validCells + "<fin>" + entries;
    const MapReading reading = readMapText(text.toStdString());
    QCOMPARE(reading.outcome, LoadOutcome::Loaded);
    document.open(reading.map);
    for (int p = 0; p < 8; ++p)
        QCOMPARE(document.map.starts[p].has_value(), placed[p]);
    // The starts that stay are the file's, on a cell of their own inside the map.
    std::vector<GridPoint> cells = document.map.startCells();
    QCOMPARE(cells.size(), std::size_t(placed.count(true)));
    QVERIFY(std::adjacent_find(cells.begin(), cells.end()) == cells.end());
    for (int p = 0; p < 8; ++p)
        if (placed[p])
            QCOMPARE(document.map.starts[p], reading.map.starts[p]);
}

void TestMapFile::roundTripKeepsEveryRandomMap()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("random.map"));
    QRandomGenerator random(2026);
    for (int i = 0; i < 200; ++i) {
        const GameMap saved = testmaps::randomMap(random).map;
        QVERIFY(savemap(saved, path));
        const MapReading loaded = readMapFile(path);
        QCOMPARE(loaded.outcome, LoadOutcome::Loaded);
        QCOMPARE(loaded.map, saved);
        QCOMPARE(mapText(loaded.map), readFile(path));
    }
}

void TestMapFile::playersKeepTheirNumbers()
{
    // Player 5's start is the first in row-major order; it comes back as player 5.
    GameMap map = exampleMap().map;
    map.starts[5] = testmaps::cell(2, 3);
    map.starts[0] = testmaps::cell(9, 16);
    QByteArray text = mapText(map);
    QVERIFY(text.endsWith("<fin>9 16,15 3,8 8,0 12,4 16,2 3,12 16,16 16,"));
    const MapReading loaded = readMapText(text.toStdString());
    QCOMPARE(loaded.outcome, LoadOutcome::Loaded);
    QCOMPARE(loaded.map.startAt(testmaps::cell(2, 3)), 5);
    QCOMPARE(loaded.map.startAt(testmaps::cell(9, 16)), 0);
}

void TestMapFile::onlyTheStartsThereAreAreWritten()
{
    // A start outside the map does not stay in the editor, so it is not saved.
    GameMap map = exampleMap().map;
    map.starts[7] = testmaps::cell(17, 3); // outside the 17 by 17 map
    MapDocument document;
    document.open(map);
    const QByteArray text = mapText(document.map);
    QVERIFY(text.endsWith("<fin>2 3,15 3,8 8,0 12,4 16,9 16,12 16,"));
    // Without starts the file ends with the marker itself.
    QVERIFY(mapText(GameMap(16, 16)).endsWith(",<fin>"));
}

void TestMapFile::unreadableFiles()
{
    QTemporaryDir folder;
    QCOMPARE(readMapFile(folder.filePath(QStringLiteral("missing.map"))).outcome,
             LoadOutcome::NotReadable);
    QCOMPARE(readMapFile(folder.path()).outcome, LoadOutcome::NotReadable);
    const QString fifo = folder.filePath(QStringLiteral("pipe.map"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(readMapFile(fifo).outcome, LoadOutcome::NotReadable); // must not block

    // A plain file whose reads block until the kernel's tracer has something to say, which
    // it does not while nobody traces. Read in a child that an alarm ends if it blocks.
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);
        const char* tracePipe = "/sys/kernel/tracing/trace_pipe";
        if (access(tracePipe, R_OK) != 0 &&
            (unshare(CLONE_NEWNS) != 0 ||
             mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             mount("nodev", "/sys/kernel/tracing", "tracefs", 0, nullptr) != 0))
            _exit(77);
        const QString link = folder.filePath(QStringLiteral("traza.map"));
        _exit(QFile::link(QString::fromLatin1(tracePipe), link) &&
                      readMapFile(link).outcome == LoadOutcome::NotReadable
                  ? 0
                  : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        QSKIP("no tracefs here (it needs root)");
    QVERIFY2(WIFEXITED(status), "the read blocked");
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestMapFile::largeFiles_data()
{
    QTest::addColumn<qint64>("size"); // a good map, then junk or a hole up to this size
    QTest::addColumn<bool>("hole");
    QTest::addColumn<LoadOutcome>("outcome");
    QTest::newRow("junk up to the largest map file")
        << largestMapFile << false << LoadOutcome::Loaded;
    QTest::newRow("one byte more") << largestMapFile + 1 << false << LoadOutcome::NotReadable;
    QTest::newRow("8 GiB, mostly a hole") << (qint64(8) << 30) << true << LoadOutcome::NotReadable;
}

void TestMapFile::largeFiles()
{
    QFETCH(qint64, size);
    QFETCH(bool, hole);
    QFETCH(LoadOutcome, outcome);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("grande.map"));
    const QByteArray map = validCells + "<fin>" + eightStarts;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(hole ? map : map + QByteArray(size - map.size(), ',')),
             hole ? map.size() : size);
    QVERIFY(file.resize(size));
    file.close();
    QCOMPARE(readMapFile(path).outcome, outcome);
}

void TestMapFile::fileCutShortWhileRead()
{
    // One child reads while another cuts the file short and lets it grow again, beyond
    // what a map can be and back; no read may end the reader with a signal.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cambia.map"));
    const QByteArray map = validCells + "<fin>" + eightStarts;
    QVERIFY(writeFile(path, map));
    const pid_t cutter = fork();
    if (cutter == 0) {
        for (;;) {
            QFile::resize(path, qint64(65) << 20);
            QFile::resize(path, map.size());
        }
    }
    const pid_t reader = fork();
    if (reader == 0) {
        for (int i = 0; i < 300; ++i)
            readMapFile(path);
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(reader, &status, 0), reader);
    kill(cutter, SIGKILL);
    waitpid(cutter, nullptr, 0);
    QVERIFY2(WIFEXITED(status), qPrintable(QStringLiteral("signal %1").arg(WTERMSIG(status))));
}

void TestMapFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir folder;
    const MapDocument document = exampleMap();
    QString error;
    QVERIFY(!savemap(document.map, folder.filePath(QStringLiteral("missing/mundo.map")), &error));
    QVERIFY(!error.isEmpty());
    const QString sub = folder.filePath(QStringLiteral("carpeta.map"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("carpeta.map")));
    QVERIFY(!savemap(document.map, sub, &error));
    QVERIFY(QFileInfo(sub).isDir());
}

void TestMapFile::saveLeavesNoTemporaryFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mundo.map"));
    QVERIFY(writeFile(path, "old"));
    QVERIFY(savemap(exampleMap().map, path));
    QCOMPARE(readFile(path), exampleText());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"mundo.map"});
}

void TestMapFile::savingOverAFileKeepsWhatTheUserSet_data()
{
    QTest::addColumn<QString>("target"); // what the chosen name is, or leads to
    QTest::addColumn<int>("owner");      // user and group of the old file; -1: ours
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("saved");
    QTest::newRow("another user's 640 file") << "file" << 4321 << 0640 << true;
    QTest::newRow("read-only file") << "file" << -1 << 0444 << true;
    QTest::newRow("group-writable file") << "file" << -1 << 0664 << true;
    QTest::newRow("link to a file") << "link to file" << -1 << 0600 << true;
    QTest::newRow("link to a pipe") << "link to pipe" << -1 << 0600 << false;
    QTest::newRow("link to a device") << "link to device" << -1 << 0600 << false;
}

void TestMapFile::savingOverAFileKeepsWhatTheUserSet()
{
    QFETCH(QString, target);
    QFETCH(int, owner);
    QFETCH(int, mode);
    QFETCH(bool, saved);
    if ((owner >= 0 || mode == 0444 || target == "link to device") && geteuid() != 0)
        QSKIP("only root can set this up, and write over a read-only file");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mundo.map"));
    const QString real = target == "file" ? path : folder.filePath(QStringLiteral("destino"));
    const QByteArray realName = QFile::encodeName(real);
    if (target == "link to pipe") {
        QCOMPARE(mkfifo(realName.constData(), mode_t(mode)), 0);
    } else if (target == "link to device") {
        QCOMPARE(mknod(realName.constData(), S_IFCHR | mode_t(mode), makedev(1, 3)), 0);
    } else {
        QVERIFY(writeFile(real, "old"));
        QCOMPARE(chmod(realName.constData(), mode_t(mode)), 0);
        if (owner >= 0)
            QCOMPARE(chown(realName.constData(), uid_t(owner), gid_t(owner)), 0);
    }
    if (real != path)
        QVERIFY(QFile::link(real, path));
    struct stat before {};
    QCOMPARE(stat(realName.constData(), &before), 0);

    QString error;
    QCOMPARE(savemap(exampleMap().map, path, &error), saved);
    QCOMPARE(error.isEmpty(), saved);
    struct stat link {};
    struct stat after {};
    QCOMPARE(lstat(QFile::encodeName(path).constData(), &link), 0);
    QCOMPARE(S_ISLNK(link.st_mode), real != path); // a link stays a link
    QCOMPARE(stat(realName.constData(), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode); // type and mode
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    if (saved)
        QCOMPARE(readFile(path), exampleText());
}

QTEST_GUILESS_MAIN(TestMapFile)
#include "tst_mapfile.moc"
