// The Tiled extension in the real Tiled (Debian's 1.8) on a virtual X server, installed as the
// README says into a home of the test's own: the extension's actions one after another, as a
// map maker runs them, with garbage collected between them. A test-only extension beside it
// (tests/tiled/tiledsteps.js) runs one step for each Ctrl+Shift+F12, answers the dialogs and
// writes down what each step did.

#include "xsession.h"

#include "map/mapreading.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace quintaraz;

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

/** The README's lines that install the extension into Tiled's own folder. */
QString readmeInstallLines()
{
    const QString readme = readText(QStringLiteral(QUINTARAZ_README));
    const QRegularExpression block(QStringLiteral("```sh\\n(rm -rf ~/.config/tiled/[^`]*)```"));
    return block.match(readme).captured(1);
}

/**
 * Whether a line of the record is the one expected: the same, or, where the expected line
 * ends with "…", beginning with what comes before it.
 */
bool lineMatches(const QString& line, const QString& expected)
{
    if (expected.endsWith(u'…'))
        return line.startsWith(expected.chopped(1));
    return line == expected;
}

} // namespace

class TestTiledWindow : public QObject {
    Q_OBJECT

private slots:
    void actionsOneAfterAnother();
};

void TestTiledWindow::actionsOneAfterAnother()
{
    const QString tiled = QStandardPaths::findExecutable(QStringLiteral("tiled"));
    QVERIFY2(!tiled.isEmpty(), "Tiled is not installed (scripts/install-deps test)");

    // A home of its own: the user's Tiled settings and extensions are left as they are.
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString config = home.filePath(QStringLiteral(".config"));
    const QString runtime = home.filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral(".cache"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    // Tiled in Spanish, as the map makers have it.
    qputenv("LANG", "es_ES.UTF-8");
    qputenv("LANGUAGE", "es");
    // The map tool of this build, with the tilesets of this build.
    const QString mapTool = QStringLiteral(QUINTARAZ_MAP);
    qputenv("PATH", QFile::encodeName(QFileInfo(mapTool).absolutePath()) + ':' + qgetenv("PATH"));
    qputenv("QUINTARAZ_TILED_TILESETS", QUINTARAZ_TILED_DATA);

    // The extension installed with the README's own lines, from this build's copy of the
    // folder that the package installs.
    const QString install = readmeInstallLines();
    QVERIFY2(install.contains(QLatin1String("/usr/share/quintaraz-editor/tiled")),
             qPrintable(install));
    QProcess shell;
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-ec"),
                 QString(install).replace(QStringLiteral("/usr/share/quintaraz-editor/tiled"),
                                          QStringLiteral("'" QUINTARAZ_TILED_DATA "'"))});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(shell.exitCode(), 0);
    const QString extensions = config + QStringLiteral("/tiled/extensions");
    QVERIFY(QFile::exists(extensions + QStringLiteral("/quintaraz/quintaraz.js")));
    QVERIFY(QDir().mkpath(extensions + QStringLiteral("/pasos")));
    QVERIFY(copyFile(QStringLiteral(QUINTARAZ_TILED_STEPS),
                     extensions + QStringLiteral("/pasos/tiledsteps.js")));

    // The maps: the valley, and a map with a painted extra layer and a start on water.
    const QString maps = home.filePath(QStringLiteral("mapas"));
    QVERIFY(QDir().mkpath(maps));
    const QString valley = maps + QStringLiteral("/valle.map");
    QVERIFY(copyFile(QStringLiteral(QUINTARAZ_VALLEY), valley));
    const QString painted = QStringLiteral("pintada-y-en-el-agua.tmx");
    QVERIFY(copyFile(QStringLiteral(QUINTARAZ_TILED_CASES "/") + painted, maps + u'/' + painted));
    for (const char* picture : {"terrenos.png", "jugadores.png"})
        QVERIFY(copyFile(QStringLiteral(QUINTARAZ_TILED_FIXTURES "/") + QLatin1String(picture),
                         maps + u'/' + QLatin1String(picture)));

    // Tiled asks the network for news and updates unless told not to.
    QVERIFY(QDir().mkpath(config + QStringLiteral("/mapeditor.org")));
    QFile settings(config + QStringLiteral("/mapeditor.org/tiled.conf"));
    QVERIFY(settings.open(QIODevice::WriteOnly) &&
            settings.write("[Install]\nDisplayNews=false\nCheckForUpdates=false\n") > 0);
    settings.close();

    XSession x;
    QVERIFY(x.isRunning());
    QProcess* process = x.start(tiled, {QStringLiteral("--new-instance"), valley});
    const QString recordFile = config + QStringLiteral("/registro.txt");
    const auto record = [&] {
        return readText(recordFile).replace(home.path(), QStringLiteral("~")).split(u'\n');
    };
    const auto says = [&](const QString& start) {
        const QStringList lines = record();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QString& line) { return line.startsWith(start); });
    };
    // Keys go to Tiled's main window once it holds the focus.
    const auto tiledFocused = [&] {
        return XSession::waitUntil(
            [&] {
                return x.windowsOf(process->processId())
                    .contains(x.xdotool({QStringLiteral("getactivewindow")}));
            },
            120000);
    };
    QVERIFY2(XSession::waitUntil([&] { return says(QStringLiteral("ready, 7 steps")); }, 120000),
             qPrintable(record().join(u'\n')));
    QVERIFY(tiledFocused());

    // Each step must begin at its own key: a step that an earlier one's leftovers abandon
    // never writes its first line.
    for (int step = 0; step < 7; ++step) {
        QVERIFY(tiledFocused());
        x.keys({QStringLiteral("ctrl+shift+F12")});
        const QString end = QStringLiteral("end %1:").arg(step);
        QVERIFY2(XSession::waitUntil([&] { return says(end); }, 120000),
                 qPrintable(QStringLiteral("step %1 did not end; Tiled %2; the record:\n%3")
                                .arg(step)
                                .arg(process->state() == QProcess::Running ? "runs" : "ended")
                                .arg(record().join(u'\n'))));
    }

    const QString inMaps = QStringLiteral("~/mapas/");
    const QStringList expected = {
        QStringLiteral("ready, 7 steps"),
        QStringLiteral("step 0"),
        QStringLiteral("confirm Comprobar mapa: ") + inMaps +
            QStringLiteral("valle.map: el mapa está listo para el juego."),
        QStringLiteral("end 0: 1 open, valle.map 40x24"),
        QStringLiteral("step 1"),
        // Saved: no longer modified.
        QStringLiteral("end 1: 1 open, valle.map 40x24"),
        QStringLiteral("step 2"),
        QStringLiteral("prompt Generar mapa de Quintaraz: 60 x 40"),
        QStringLiteral("prompt Generar mapa de Quintaraz: giro-180"),
        QStringLiteral("prompt Generar mapa de Quintaraz: 12345"),
        QStringLiteral("end 2: 2 open, (sin guardar) 60x40"),
        QStringLiteral("step 3"),
        QStringLiteral("confirm Comprobar equilibrio: El mapa sin guardar: equilibrado: …"),
        QStringLiteral("end 3: 2 open, (sin guardar) 60x40"),
        QStringLiteral("step 4"),
        QStringLiteral("prompt Nuevo mapa de Quintaraz: 40 x 30"),
        QStringLiteral("end 4: 3 open, (sin guardar) 40x30"),
        QStringLiteral("step 5"),
        QStringLiteral("error: ") + inMaps + painted +
            QStringLiteral(": la capa «Capa de patrones 2» tiene patrones pintados …"),
        QStringLiteral("warning: ") + inMaps + painted +
            QStringLiteral(": el comienzo del jugador 1 (columna 0, fila 4) está en agua"),
        QStringLiteral("warning: ") + inMaps + painted +
            QStringLiteral(": la capa «notas» no pasa al mapa: solo se guardan «terreno» y "
                           "«comienzos»"),
        QStringLiteral("alert Comprobar mapa: ") + inMaps + painted +
            QStringLiteral(": un problema impide guardarlo como mapa de Quintaraz:"),
        QStringLiteral("end 5: 4 open, pintada-y-en-el-agua.tmx 20x18"),
        QStringLiteral("step 6"),
        QStringLiteral("end 6: 4 open, pintada-y-en-el-agua.tmx 20x18"),
        QString(),
    };
    const QStringList lines = record();
    QCOMPARE(lines.size(), expected.size());
    for (int k = 0; k < lines.size(); ++k)
        QVERIFY2(lineMatches(lines[k], expected[k]),
                 qPrintable(QStringLiteral("line %1: «%2», expected «%3»")
                                .arg(k + 1)
                                .arg(lines[k], expected[k])));

    // The save went through the extension: the valley as it was, but for the painted water.
    const MapReading before = readMapFile(QStringLiteral(QUINTARAZ_VALLEY));
    const MapReading saved = readMapFile(valley);
    QCOMPARE(before.outcome, LoadOutcome::Loaded);
    QCOMPARE(saved.outcome, LoadOutcome::Loaded);
    QVERIFY(before.map.terrainAt(0, 0) != 2);
    GameMap wanted = before.map;
    wanted.terrain[0] = 2;
    QVERIFY(saved.map == wanted);
}

QTEST_GUILESS_MAIN(TestTiledWindow)
#include "tst_tiledwindow.moc"
