// The command lines of both programs, as a terminal or a script uses them.

#include "programrun.h"
#include "testmaps.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

/**
 * The environment of a terminal without any display: the editor must answer its command
 * line before it looks for one.
 */
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

} // namespace

class TestCommandLines : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void outputThatCannotBeWrittenIsAnError_data();
    void outputThatCannotBeWrittenIsAnError();
    void editorSaysWhyAFileGivenAtStartUpDidNotOpen();
};

void TestCommandLines::answers_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // the start of what it writes, on standard output or error
    const QString map = QStringLiteral(QUINTARAZ_MAP);
    const QString editor = QStringLiteral(QUINTARAZ_EDITOR);
    const auto row = [](const char* title, const QString& program, const QStringList& arguments,
                        int status, const QString& said) {
        QTest::newRow(title) << program << arguments << status << said;
    };
    row("tool without a command", map, {}, 2, "quintaraz-map: falta la orden\nUso:");
    row("tool with an unknown command", map, {"dibuja"}, 2,
        "quintaraz-map: no hay ninguna orden «dibuja»");
    row("check without files", map, {"check"}, 2,
        "quintaraz-map: faltan argumentos\nUso: quintaraz-map check [--strict] ARCHIVO...");
    row("an unknown option", map, {"check", "--todo", "a.map"}, 2,
        "quintaraz-map: Opción desconocida «todo».");
    row("a cell of 0", map, {"render", "a.map", "a.png", "--cell", "0"}, 2,
        "quintaraz-map: --cell pide un número de 1 a 100");
    row("info of two files", map, {"info", "a.map", "b.map"}, 2, "quintaraz-map: sobra «b.map»");
    row("tool help", map, {"--help"}, 0, "Uso: quintaraz-map ORDEN");
    row("help on a command", map, {"thumbnail", "--help"}, 0,
        "Uso: quintaraz-map thumbnail ARCHIVO SALIDA.png TAMAÑO");
    row("tool version", map, {"--version"}, 0, "quintaraz-map 1.00\n");
    row("editor help", editor, {"--help"}, 0, "Uso: quintaraz-editor [opciones] [archivo]");
    row("editor version", editor, {"--version"}, 0, "quintaraz-editor 1.00\n");
    row("editor with two files", editor, {"a.map", "b.map"}, 2,
        "quintaraz-editor: sobra «b.map»: se abre un solo archivo\nUso:");
    row("editor with an unknown option", editor, {"--mapa"}, 2,
        "quintaraz-editor: Opción desconocida «mapa».");
    // After "--" every word is a file, never the toolkit's option.
    row("editor with files after --", editor, {"--", "-platform", "x.map"}, 2,
        "quintaraz-editor: sobra «x.map»: se abre un solo archivo");
    row("tool with a file after --", map, {"check", "--", "--strict"}, 1,
        "--strict: el nombre no termina en .map");
}

void TestCommandLines::answers()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    const ProgramRun run = runProgram(program, arguments, {}, withoutDisplay());
    QCOMPARE(run.status, status);
    const QString text = run.out + run.err;
    QVERIFY2(text.contains(QLatin1Char('\n') + said) || text.startsWith(said), qPrintable(text));
}

void TestCommandLines::outputThatCannotBeWrittenIsAnError_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("closedPipe"); // or else /dev/full
    const QString map = QStringLiteral(QUINTARAZ_MAP);
    const QString editor = QStringLiteral(QUINTARAZ_EDITOR);
    const QString example = QDir::temp().filePath(QStringLiteral("quintaraz-salida.map"));
    QVERIFY(testmaps::writeFile(example, testmaps::exampleText()));
    for (const bool pipe : {false, true}) {
        const char* sink = pipe ? "closed pipe" : "full disk";
        QTest::addRow("info --json, %s", sink)
            << map << QStringList{"info", "--json", example} << pipe;
        QTest::addRow("check, %s", sink) << map << QStringList{"check", example} << pipe;
        QTest::addRow("tool help, %s", sink) << map << QStringList{"--help"} << pipe;
        QTest::addRow("editor version, %s", sink) << editor << QStringList{"--version"} << pipe;
    }
}

void TestCommandLines::outputThatCannotBeWrittenIsAnError()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(bool, closedPipe);
    const QString name = program.section(QLatin1Char('/'), -1);
    QProcess process;
    int pipeEnds[2] = {-1, -1};
    if (closedPipe) {
        // Nobody reads: the read end is closed before the program starts.
        QCOMPARE(::pipe2(pipeEnds, O_CLOEXEC), 0);
        ::close(pipeEnds[0]);
        process.setChildProcessModifier([&] { ::dup2(pipeEnds[1], STDOUT_FILENO); });
    } else {
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    }
    process.setProcessEnvironment(withoutDisplay());
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(30000));
    if (closedPipe)
        ::close(pipeEnds[1]);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QString said = QString::fromUtf8(process.readAllStandardError());
    // After anything the toolkit may have noted.
    QVERIFY2(
        said.endsWith(name + QStringLiteral(": no se ha podido escribir la salida: ") +
                      (closedPipe ? QStringLiteral("el otro extremo de la tubería está cerrado\n")
                                  : QStringLiteral("no queda espacio en el disco\n"))),
        qPrintable(said));
}

void TestCommandLines::editorSaysWhyAFileGivenAtStartUpDidNotOpen()
{
    // Seven starts: a read failure, about which the window says nothing. The name is
    // relative to the folder the editor starts in.
    QTemporaryDir folder;
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("siete.map")),
                                testmaps::exampleText().chopped(7)));
    QProcess editor;
    editor.setWorkingDirectory(folder.path());
    editor.start(QStringLiteral(QUINTARAZ_EDITOR), {QStringLiteral("siete.map")});
    QVERIFY(editor.waitForStarted());
    const QString expected =
        QStringLiteral("quintaraz-editor: %1: fallo de lectura en el byte 622: "
                       "solo hay 7 comienzos de los 8")
            .arg(folder.filePath(QStringLiteral("siete.map")));
    QString said;
    QDeadlineTimer deadline(20000);
    while (!said.contains(expected) && !deadline.hasExpired() &&
           editor.state() == QProcess::Running) {
        editor.waitForReadyRead(100);
        said += QString::fromUtf8(editor.readAllStandardError());
    }
    QVERIFY2(said.contains(expected), qPrintable(said));
    QCOMPARE(editor.state(), QProcess::Running); // and the editor goes on
    editor.kill();
    editor.waitForFinished();
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
