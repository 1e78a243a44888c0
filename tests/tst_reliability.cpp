#include "app/editor.h"
#include "art/tileart.h"
#include "document/mapfile.h"
#include "fakedialogs.h"
#include "referencemap.h"
#include "referencemodel.h"
#include "testmaps.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace quintaraz;
using referencemodel::difference;
using referencemodel::Model;
using testmaps::readFile;
using testmaps::writeFile;

namespace {

QByteArray randomMapText(QRandomGenerator& random)
{
    const int width = random.bounded(16, 100);
    const int height = random.bounded(16, 100);
    QList<int> cells;
    const bool anyNumber = random.bounded(5) == 0;
    for (int k = 0; k < (width + 1) * (height + 1); ++k)
        cells.append(anyNumber ? random.bounded(-32768, 32768) : random.bounded(6));
    QList<QPoint> starts;
    for (int g = 0; g < 8 + random.bounded(3); ++g) {
        const bool beyond = random.bounded(12) == 0;
        starts.append(beyond ? QPoint(random.bounded(100), random.bounded(100))
                             : QPoint(random.bounded(width + 1), random.bounded(height + 1)));
    }
    return referencemap::write(width, height, cells, starts);
}

QByteArray mutated(QByteArray text, QRandomGenerator& random)
{
    static const QByteArray alphabet = ",,,- 0123456789<fin>ax\n";
    for (int i = random.bounded(1, 4); i > 0 && !text.isEmpty(); --i) {
        const qsizetype at = random.bounded(text.size());
        switch (random.bounded(4)) {
        case 0:
            text[at] = alphabet[random.bounded(alphabet.size())];
            break;
        case 1:
            text.remove(at, random.bounded(1, 20));
            break;
        case 2:
            text.insert(at, alphabet[random.bounded(alphabet.size())]);
            break;
        default:
            text.truncate(at);
        }
    }
    return text;
}

} // namespace

class TestReliability : public QObject {
    Q_OBJECT

private slots:
    void readerAgreesWithTheReference();
    void longRandomEditingRun();
    void killedSavesLeaveAWholeMap();
    void failedSavesKeepTheOldFile_data();
    void failedSavesKeepTheOldFile();
    void damagedOpensChangeNothing();

private:
    TileArt art;
};

void TestReliability::readerAgreesWithTheReference()
{
    QRandomGenerator random(11);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray valid = randomMapText(random);
        const QByteArray text = i % 3 == 0 ? valid : mutated(valid, random);
        const referencemap::Map expected = referencemap::read(text);
        MapDocument document;
        const LoadOutcome outcome =
            loadmapText(document, std::string_view(text.constData(), size_t(text.size())));
        if (outcome != expected.outcome)
            QFAIL(qPrintable(QStringLiteral("case %1: outcome %2, expected %3")
                                 .arg(i)
                                 .arg(int(outcome))
                                 .arg(int(expected.outcome))));
        if (outcome != LoadOutcome::Loaded)
            continue;
        Model model;
        model.open(expected);
        if (const QString d = difference(document, model); !d.isEmpty() && d != "mapLoaded")
            QFAIL(qPrintable(QStringLiteral("case %1: %2").arg(i).arg(d)));
    }
}

void TestReliability::longRandomEditingRun()
{
    const quint32 seed = quint32(qEnvironmentVariableIntValue("QUINTARAZ_SEED")) ?: 20261207u;
    const int steps = qEnvironmentVariableIntValue("QUINTARAZ_STEPS") ?: 20000;
    QRandomGenerator random(seed);
    QTemporaryDir folder;
    FakeDialogs dialogs;
    Editor editor(art, dialogs);
    Model model;
    const QStringList chooserTexts{"1", "2", "3", "4", "5", "6",  "7",
                                   "8", "0", "9", "",  "x", " 3", "12"};
    const QList<int> keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                          Qt::Key_Down, Qt::Key_A,     Qt::Key_Space};
    QString lastSaved;
    int opens = 0;
    int saves = 0;
    for (int step = 0; step < steps; ++step) {
        const int action = random.bounded(100);
        dialogs.messages.clear();
        QString expectedMessage;
        if (action < 3) {
            const int w = random.bounded(16, 100);
            const int h = random.bounded(16, 100);
            editor.setMaxwidth(std::int16_t(w));
            editor.setMaxheight(std::int16_t(h));
            editor.newmap();
            model.newMap(w, h);
        } else if (action < 10) {
            const int t = random.bounded(6);
            editor.selectTerrain(t);
            model.selected = t;
            model.startTool = false;
        } else if (action < 15) {
            editor.selectStartTool();
            model.startTool = true;
        } else if (action < 60) {
            const QPointF pixel(random.bounded(-40, 440) + random.generateDouble(),
                                random.bounded(-40, 440) + random.generateDouble());
            const QString chooser = chooserTexts[random.bounded(chooserTexts.size())];
            editor.pressMap(pixel, chooser);
            model.press(pixel, chooser);
        } else if (action < 90) {
            const int key = keys[random.bounded(keys.size())];
            editor.keyPressed(key);
            model.key(key);
        } else if (action < 96) {
            ++opens;
            QString path = folder.filePath(QStringLiteral("abrir%1.map").arg(step));
            QByteArray text;
            switch (random.bounded(6)) {
            case 0:
                text = randomMapText(random);
                break;
            case 1:
                text = mutated(randomMapText(random), random);
                break;
            case 2:
                for (int i = random.bounded(200); i > 0; --i)
                    text += char(random.bounded(256));
                break;
            case 3:
                text = lastSaved.isEmpty() ? QByteArray() : readFile(lastSaved);
                break;
            case 4:
                path = folder.filePath(QStringLiteral("no-existe.map"));
                break;
            default:
                path = folder.filePath(QStringLiteral("abrir%1.txt").arg(step));
                text = randomMapText(random);
            }
            if (!path.endsWith(QLatin1String("no-existe.map")))
                QVERIFY(writeFile(path, text));
            dialogs.filesToChoose = {path};
            editor.open();
            if (!path.endsWith(QLatin1String(".map"))) {
                expectedMessage = QStringLiteral("Selecciona un archivo .map");
            } else {
                const referencemap::Map expected = referencemap::read(
                    path.endsWith(QLatin1String("no-existe.map")) ? QByteArray() : text);
                if (expected.outcome == LoadOutcome::Loaded)
                    model.open(expected);
                if (expected.outcome == LoadOutcome::FormatError)
                    expectedMessage = QStringLiteral("El archivo está corrupto");
                if (expected.outcome == LoadOutcome::NotReadable)
                    expectedMessage = QStringLiteral("No se puede abrir el archivo");
            }
            QFile::remove(path);
        } else {
            const bool wrongName = random.bounded(8) == 0;
            const QString path = folder.filePath(wrongName ? QStringLiteral("guardar.txt")
                                                           : QStringLiteral("guardar.map"));
            dialogs.filesToChoose = {path};
            const int requests = dialogs.fileRequests;
            editor.save();
            QCOMPARE(dialogs.fileRequests - requests, model.loaded ? 1 : 0);
            const std::array<bool, 8> placed = model.placed();
            const bool allPlaced =
                std::all_of(placed.begin(), placed.end(), [](bool b) { return b; });
            if (!model.loaded)
                expectedMessage.clear();
            else if (!allPlaced)
                expectedMessage = QStringLiteral("Asigna los comienzos de los jugadores");
            else if (wrongName)
                expectedMessage = QStringLiteral("Selecciona un archivo .map");
            else
                expectedMessage = QStringLiteral("Se ha guardado el mapa");
            if (expectedMessage == QLatin1String("Se ha guardado el mapa")) {
                ++saves;
                lastSaved = path;
                // What was accepted is what the model holds, and it opens again as loaded.
                QCOMPARE(readFile(path), model.fileText());
                MapDocument reopened;
                QCOMPARE(loadmap(reopened, path), LoadOutcome::Loaded);
            }
        }
        const QString shown = dialogs.messages.isEmpty() ? QString() : dialogs.messages.last().text;
        const QString d = difference(editor.document(), model);
        if (!d.isEmpty() || shown != expectedMessage || dialogs.messages.size() > 1)
            QFAIL(qPrintable(QStringLiteral("seed %1, step %2 (action %3): %4; message \"%5\", "
                                            "expected \"%6\"")
                                 .arg(seed)
                                 .arg(step)
                                 .arg(action)
                                 .arg(d, shown, expectedMessage)));
    }
    qInfo("seed %u: %d operations, %d opens, %d saves accepted", seed, steps, opens, saves);
}

void TestReliability::killedSavesLeaveAWholeMap()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mundo.map"));
    QRandomGenerator random(99);
    const MapDocument first = testmaps::randomMap(random);
    const MapDocument second = testmaps::randomMap(random);
    const QByteArray firstText = mapText(first);
    const QByteArray secondText = mapText(second);
    QVERIFY(firstText != secondText);
    QVERIFY(savemap(first, path));

    const int kills = qEnvironmentVariableIntValue("QUINTARAZ_KILLS") ?: 300;
    for (int i = 0; i < kills; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            for (bool which = false;; which = !which)
                savemap(which ? first : second, path);
        }
        QVERIFY(child > 0);
        usleep(useconds_t(random.bounded(200, 4000)));
        kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        const QByteArray onDisk = readFile(path);
        QVERIFY2(onDisk == firstText || onDisk == secondText,
                 qPrintable(QStringLiteral("kill %1: %2 bytes").arg(i).arg(onDisk.size())));
        MapDocument reopened;
        QCOMPARE(loadmap(reopened, path), LoadOutcome::Loaded);
    }
    // A killed save may leave its unfinished temporary file; a finished one leaves none.
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
        if (name != QLatin1String("mundo.map"))
            QFile::remove(folder.filePath(name));
    QVERIFY(savemap(second, path));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"mundo.map"});
    qInfo("%d saves killed, each left one whole map", kills);
}

void TestReliability::failedSavesKeepTheOldFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("reason"); // the error whose text the message gives as its detail
    QTest::newRow("disk full") << "disk-full" << ENOSPC;
    QTest::newRow("disk fills while writing") << "disk-fills" << ENOSPC;
    QTest::newRow("file size limit") << "file-size-limit" << EFBIG;
    QTest::newRow("sync fails") << "sync-fails" << EIO;
    QTest::newRow("rename fails") << "rename-fails" << ENOSPC;
}

void TestReliability::failedSavesKeepTheOldFile()
{
    QFETCH(QString, fault);
    QFETCH(int, reason);
    QTemporaryDir folder;
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(QUINTARAZ_SAVEFAULT_PRELOAD));
    helper.setProcessEnvironment(environment);
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(QStringLiteral(QUINTARAZ_SAVEFAULT), {fault, folder.path()});
    QVERIFY(helper.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(helper.readAllStandardOutput());
    if (helper.exitCode() == 77)
        QSKIP(qPrintable(output));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);
    const QString why = QString::fromLocal8Bit(std::strerror(reason));
    QCOMPARE(output.split(u'\n', Qt::SkipEmptyParts),
             (QStringList{"first save: Guardar Mapa|No se ha podido guardar el mapa|" + why,
                          "old file: whole", "left over: ", "next save: Se ha guardado el mapa",
                          "new file: whole"}));
}

void TestReliability::damagedOpensChangeNothing()
{
    QTemporaryDir folder;
    FakeDialogs dialogs;
    Editor editor(art, dialogs);
    editor.document() = testmaps::exampleMap();
    editor.drawmap();
    const MapDocument before = editor.document();
    const QImage view = editor.view().copy();
    QRandomGenerator random(1000);
    const QString path = folder.filePath(QStringLiteral("roto.map"));
    for (int i = 0; i < 1000; ++i) {
        QByteArray text = mutated(testmaps::exampleText(), random);
        if (referencemap::read(text).outcome == LoadOutcome::Loaded)
            text.truncate(text.indexOf("<fin>")); // keep it damaged
        QVERIFY(writeFile(path, text));
        dialogs.filesToChoose = {path};
        editor.open();
    }
    QVERIFY(editor.document() == before);
    QCOMPARE(editor.view(), view);
}

QTEST_GUILESS_MAIN(TestReliability)
#include "tst_reliability.moc"
