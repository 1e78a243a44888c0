// The command lines of both programs, as a terminal or a script uses them.

#include "testmaps.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLines : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
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
}

void TestCommandLines::answers()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QProcess process;
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    const QString text = QString::fromUtf8(status == 0 ? process.readAllStandardOutput()
                                                       : process.readAllStandardError());
    // Qt's own notes (no runtime folder, the offscreen platform) may come first.
    QVERIFY2(text.contains(QLatin1Char('\n') + said) || text.startsWith(said), qPrintable(text));
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
