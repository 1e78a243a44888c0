#include "art/tileart.h"
#include "editor/editor.h"
#include "editor/edittools.h"
#include "fakedialogs.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "mutations.h"
#include "programrun.h"
#include "referencemap.h"
#include "referencemodel.h"
#include "testmaps.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace quintaraz;
using mutations::mutated;
using mutations::randomMapText;
using referencemodel::difference;
using referencemodel::Model;
using testmaps::readFile;
using testmaps::writeFile;

namespace {

/**
 * The editor and the reference model, given the same random actions, one at a time. Each
 * action gives the message that the user should see, if any.
 */
class EditingRun {
public:
    /** The message the user sees after an action, by its kind; none for most actions. */
    using Shown = std::optional<EditorMessage>;

    EditingRun(const TileArt& art, quint32 seed)
        : random_(seed)
        , editor_(art, dialogs_)
        , whole_(art, dialogs_)
    {
    }

    /** One random action; what went wrong, or nothing when the editor did as the model. */
    QString step()
    {
        dialogs_.messages.clear();
        problem_.clear();
        const int action = random_.bounded(100);
        const Shown expected = action < 3    ? newMap()
                               : action < 10 ? chooseTerrain()
                               : action < 15 ? chooseStartTool()
                               : action < 60 ? press()
                               : action < 90 ? pressKey()
                               : action < 96 ? open()
                                             : save();
        const Shown shown = dialogs_.messages.isEmpty() ? Shown() : dialogs_.messages.last().kind;
        if (problem_.isEmpty())
            problem_ = difference(editor_.document(), model_);
        if (problem_.isEmpty())
            problem_ = viewDifference();
        if (problem_.isEmpty() && (shown != expected || dialogs_.messages.size() > 1))
            problem_ = QStringLiteral("message %1, expected %2")
                           .arg(shown ? int(*shown) : -1)
                           .arg(expected ? int(*expected) : -1);
        return problem_.isEmpty() ? QString()
                                  : QStringLiteral("action %1: %2").arg(action).arg(problem_);
    }

    int opens = 0;
    int saves = 0;

private:
    /**
     * The view, kept as a ring and drawn only where something changed, is the map drawn
     * whole at its scroll, whatever actions came before.
     */
    QString viewDifference()
    {
        if (!editor_.document().mapLoaded)
            return {};
        whole_.document() = editor_.document();
        whole_.drawmap();
        if (editor_.view() == whole_.view())
            return {};
        return QStringLiteral("the view at %1, %2 is not the map drawn there")
            .arg(editor_.document().scrollX)
            .arg(editor_.document().scrollY);
    }

    Shown newMap()
    {
        const int w = random_.bounded(16, 100);
        const int h = random_.bounded(16, 100);
        testmaps::startNewMap(editor_, w, h);
        model_.newMap(w, h);
        return {};
    }

    Shown chooseTerrain()
    {
        const int t = random_.bounded(6);
        editor_.selectTerrain(t);
        model_.selected = t;
        model_.startTool = false;
        return {};
    }

    Shown chooseStartTool()
    {
        editor_.selectStartTool();
        model_.startTool = true;
        return {};
    }

    Shown press()
    {
        static const QStringList chooserTexts{"1", "2", "3", "4", "5", "6",  "7",
                                              "8", "0", "9", "",  "x", " 3", "12"};
        const QPointF pixel(random_.bounded(-40, 440) + random_.generateDouble(),
                            random_.bounded(-40, 440) + random_.generateDouble());
        const QString chooser = chooserTexts[random_.bounded(chooserTexts.size())];
        editor_.pressMap(pixel, playerForChooserText(chooser));
        model_.press(pixel, chooser);
        return {};
    }

    Shown pressKey()
    {
        static const QList<int> keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                     Qt::Key_Down, Qt::Key_A,     Qt::Key_Space};
        const int key = keys[random_.bounded(keys.size())];
        editor_.keyPressed(key);
        model_.key(key);
        return {};
    }

    /** A valid, damaged, random, missing or wrongly named file, or the one saved last. */
    Shown open()
    {
        ++opens;
        QString path = folder_.filePath(QStringLiteral("abrir%1.map").arg(opens));
        QByteArray text;
        switch (random_.bounded(6)) {
        case 0:
            text = randomMapText(random_);
            break;
        case 1:
            text = mutated(randomMapText(random_), random_);
            break;
        case 2:
            for (int i = random_.bounded(200); i > 0; --i)
                text += char(random_.bounded(256));
            break;
        case 3:
            text = lastSaved_.isEmpty() ? QByteArray() : readFile(lastSaved_);
            break;
        case 4:
            path = folder_.filePath(QStringLiteral("no-existe.map"));
            break;
        default:
            path = folder_.filePath(QStringLiteral("abrir%1.txt").arg(opens));
            text = randomMapText(random_);
        }
        const bool missing = path.endsWith(QLatin1String("no-existe.map"));
        if (!missing)
            writeFile(path, text);
        dialogs_.filesToChoose = {path};
        editor_.open();
        QFile::remove(path);
        if (!path.endsWith(QLatin1String(".map")))
            return EditorMessage::NotAMapToOpen;
        const referencemap::Map expected = referencemap::read(missing ? QByteArray() : text);
        switch (expected.outcome) {
        case LoadOutcome::Loaded:
            model_.open(expected);
            return {};
        case LoadOutcome::FormatError:
            return EditorMessage::FileCorrupt;
        case LoadOutcome::NotReadable:
            return EditorMessage::FileNotReadable;
        case LoadOutcome::ReadFailure:
            return EditorMessage::ReadFailed;
        case LoadOutcome::SizeRejected:
            return EditorMessage::SizeRejected;
        }
        return {};
    }

    Shown save()
    {
        const bool wrongName = random_.bounded(8) == 0;
        const QString path = folder_.filePath(wrongName ? QStringLiteral("guardar.txt")
                                                        : QStringLiteral("guardar.map"));
        dialogs_.filesToChoose = {path};
        const int requests = dialogs_.fileRequests;
        editor_.save();
        if (dialogs_.fileRequests - requests != (model_.loaded ? 1 : 0))
            problem_ = QStringLiteral("the file dialog was shown wrongly");
        const std::array<bool, 8> placed = model_.placed();
        if (!model_.loaded)
            return {};
        if (!std::all_of(placed.begin(), placed.end(), [](bool b) { return b; }))
            return EditorMessage::StartsMissing;
        if (wrongName)
            return EditorMessage::NotAMapToSave;
        ++saves;
        lastSaved_ = path;
        // What was accepted is what the model holds, and it opens again as loaded.
        if (readFile(path) != model_.fileText() || readMapFile(path).outcome != LoadOutcome::Loaded)
            problem_ = QStringLiteral("the saved file is not the model's map");
        return EditorMessage::Saved;
    }

    QRandomGenerator random_;
    QTemporaryDir folder_;
    FakeDialogs dialogs_;
    Editor editor_;
    Editor whole_; // draws the view whole, to compare
    Model model_;
    QString lastSaved_;
    QString problem_;
};

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
        const MapReading reading =
            readMapText(std::string_view(text.constData(), size_t(text.size())));
        if (reading.outcome != expected.outcome)
            QFAIL(qPrintable(QStringLiteral("case %1: outcome %2, expected %3")
                                 .arg(i)
                                 .arg(int(reading.outcome))
                                 .arg(int(expected.outcome))));
        if (reading.outcome != LoadOutcome::Loaded)
            continue;
        // Every cell and every start as the plain reader reads them, and the map as the
        // editor takes it in as the model does.
        if (const QString d = referencemap::difference(reading.map, expected); !d.isEmpty())
            QFAIL(qPrintable(QStringLiteral("case %1: %2").arg(i).arg(d)));
        MapDocument document;
        document.open(reading.map);
        Model model;
        model.open(expected);
        if (const QString d = difference(document, model); !d.isEmpty())
            QFAIL(qPrintable(QStringLiteral("case %1, opened: %2").arg(i).arg(d)));
    }
}

void TestReliability::longRandomEditingRun()
{
    const quint32 seed = quint32(qEnvironmentVariableIntValue("QUINTARAZ_SEED")) ?: 20261207u;
    const int steps = qEnvironmentVariableIntValue("QUINTARAZ_STEPS") ?: 20000;
    EditingRun run(art, seed);
    for (int step = 0; step < steps; ++step) {
        if (const QString problem = run.step(); !problem.isEmpty())
            QFAIL(qPrintable(
                QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(problem)));
    }
    qInfo("seed %u: %d operations, %d opens, %d saves accepted", seed, steps, run.opens, run.saves);
}

void TestReliability::killedSavesLeaveAWholeMap()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mundo.map"));
    QRandomGenerator random(99);
    const MapDocument first = testmaps::randomMap(random);
    const MapDocument second = testmaps::randomMap(random);
    const QByteArray firstText = mapText(first.map);
    const QByteArray secondText = mapText(second.map);
    QVERIFY(firstText != secondText);
    QVERIFY(savemap(first.map, path));

    const int kills = qEnvironmentVariableIntValue("QUINTARAZ_KILLS") ?: 300;
    for (int i = 0; i < kills; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            for (bool which = false;; which = !which)
                savemap(which ? first.map : second.map, path);
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
        QCOMPARE(readMapFile(path).outcome, LoadOutcome::Loaded);
    }
    // A killed save may leave its unfinished temporary file; a finished one leaves none.
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
        if (name != QLatin1String("mundo.map"))
            QFile::remove(folder.filePath(name));
    QVERIFY(savemap(second.map, path));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"mundo.map"});
    qInfo("%d saves killed, each left one whole map", kills);
}

void TestReliability::failedSavesKeepTheOldFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason"); // the message's detail
    const QString full = QStringLiteral("no queda espacio en el disco");
    QTest::newRow("disk full") << "disk-full" << full;
    QTest::newRow("disk fills while writing") << "disk-fills" << full;
    QTest::newRow("file size limit")
        << "file-size-limit"
        << QStringLiteral("el archivo superaría el tamaño que el sistema permite");
    QTest::newRow("sync fails") << "sync-fails"
                                << QStringLiteral("error de entrada o salida del disco");
    QTest::newRow("rename fails") << "rename-fails" << full;
}

void TestReliability::failedSavesKeepTheOldFile()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(QUINTARAZ_SAVEFAULT_PRELOAD));
    const ProgramRun helper =
        runProgram(QStringLiteral(QUINTARAZ_SAVEFAULT), {fault, folder.path()}, {}, environment);
    const QString output = helper.out;
    if (helper.status == 77)
        QSKIP(qPrintable(output));
    QCOMPARE(helper.status, 0);
    QCOMPARE(
        output.split(u'\n', Qt::SkipEmptyParts),
        (QStringList{QStringLiteral("first save: %1|").arg(int(EditorMessage::SaveFailed)) + reason,
                     "old file: whole",
                     "left over: ", QStringLiteral("next save: %1").arg(int(EditorMessage::Saved)),
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
