// The command lines of both programs, as a terminal or a script uses them.

#include "programrun.h"
#include "testmaps.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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

/** Each command of quintaraz-map, and whether it takes files (and so "--" before them). */
const std::vector<std::pair<const char*, bool>> mapCommands{
    {"check", true},    {"render", true},    {"info", true},    {"thumbnail", true},
    {"export", true},   {"import", true},    {"new", true},     {"grid", true},
    {"diff", true},     {"merge", true},     {"balance", true}, {"git-setup", false},
    {"generate", true}, {"conflicts", true}, {"gallery", true},
};

/** The commands that quintaraz-map --help lists, each with its one-line summary. */
QStringList commandsListed(const QString& help)
{
    QStringList names;
    const QString listing =
        help.section(QStringLiteral("Órdenes:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    static const QRegularExpression line(QStringLiteral("^  (\\S+)  +\\S.*$"));
    for (const QString& text : listing.split(u'\n')) {
        const QRegularExpressionMatch match = line.match(text);
        names << (match.hasMatch() ? match.captured(1) : QStringLiteral("(sin resumen) ") + text);
    }
    return names;
}

/** A folder holding viejo.map and nuevo.map, two maps that differ in player 3's start. */
void writeTwoMaps(const QTemporaryDir& folder)
{
    const QByteArray old = testmaps::exampleText();
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("viejo.map")), old));
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("nuevo.map")),
                                QByteArray(old).replace("8 8,", "9 9,")));
}

/** bash running line in folder, with quintaraz-map found by its name. */
ProgramRun runShellLine(const QString& line, const QString& folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(QUINTARAZ_MAP)).path() +
                                                   u':' +
                                                   environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return runProgram(QStringLiteral("bash"), {QStringLiteral("-c"), line}, folder, environment);
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
    void shellLines_data();
    void shellLines();
    void everyCommandHasOneShape_data();
    void everyCommandHasOneShape();
    void newTakesEverySizeForm_data();
    void newTakesEverySizeForm();
    void textsSayOneWordForACell_data();
    void textsSayOneWordForACell();
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
        "quintaraz-map: faltan argumentos\nUso: quintaraz-map check [opciones] ARCHIVO...\n");
    // Named whole, as typed: a name that begins with a dash is not a row of letters.
    row("an unknown option", map, {"check", "--todo", "a.map"}, 2,
        "quintaraz-map: opción desconocida «--todo»; tras «--» todo es un archivo\nUso:");
    row("a name taken for an option", map, {"merge", "base.map", "-o.map", "suyo.map"}, 2,
        "quintaraz-map: opción desconocida «-o.map»; tras «--» todo es un archivo\n"
        "Uso: quintaraz-map merge");
    row("an option with a value", map, {"diff", "--colores=no", "a.map", "b.map"}, 2,
        "quintaraz-map: opción desconocida «--colores=no»");
    row("an option holding a line break", map, {"grid", "-a\nquintaraz-map: b"}, 2,
        "quintaraz-map: opción desconocida «-a\\nquintaraz-map: b»");
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
    // Seven starts: a read failure, which a terminal learns of as well, before the window's
    // message box. The name is relative to the folder the editor starts in.
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

void TestCommandLines::shellLines_data()
{
    QTest::addColumn<QString>("line"); // for bash, beside viejo.map and nuevo.map
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString moved =
        QStringLiteral("jugador 3: columna 8, fila 8 → columna 9, fila 9\n"
                       "total: 0 casillas cambiadas en 0 zonas; comienzos movidos: 1\n"
                       "equilibrio: desequilibrado → desequilibrado: territorio, jugador 8 tiene "
                       "13 casillas y el jugador 1 tiene 63 (razón 0.21)\n");
    const auto row = [](const char* title, const char* line, int status, const QString& out,
                        const QString& err = {}) {
        QTest::newRow(title) << QString::fromUtf8(line) << status << out << err;
    };
    // Inputs that are only read may come through pipes, bounded as files are.
    row("diff of a pipe the shell made", "quintaraz-map diff <(cat viejo.map) nuevo.map", 1,
        "/dev/fd/63 → nuevo.map\n" + moved);
    row("diff of standard input", "quintaraz-map diff - nuevo.map < viejo.map", 1,
        "- → nuevo.map\n" + moved);
    row("diff of a named pipe",
        "mkfifo tubo; cat viejo.map > tubo & quintaraz-map diff tubo nuevo.map", 1,
        "tubo → nuevo.map\n" + moved);
    row("grid of standard input", "quintaraz-map grid - < nuevo.map | sed -n 1p", 0,
        "tamaño: 17x17\n");
    row("merge with base and theirs from pipes",
        "cp viejo.map nuestro.map && quintaraz-map merge <(cat viejo.map) nuestro.map - "
        "< nuevo.map && cmp nuestro.map nuevo.map && echo igual",
        0, "igual\n");
    row("a pipe larger than any map", "head -c 2000000 /dev/zero | quintaraz-map diff - nuevo.map",
        2, {},
        "quintaraz-map: -: no se puede abrir: mide más de 1 MiB y ningún mapa es tan grande\n");
    // What is not a map shows in full as its size and digest, read on past the largest map.
    row("grid of a pipe larger than any map",
        "head -c 2000000 /dev/zero | quintaraz-map grid - | sed -n 2p", 0,
        "mide 2000000 bytes, SHA-256 "
        "13aea96040f2133033d103008d5d96cfe98b3361f7202d77bea97b2424a7a6cd\n");
    row("standard input twice", "quintaraz-map diff - - < viejo.map 2>&1 | sed -n 1p", 0,
        "quintaraz-map: «-» (la entrada estándar) solo puede ser uno de los archivos\n");
    // A preview service hands a name: what is not a plain file is refused, never waited for.
    row("thumbnail of a pipe", "mkfifo tubo; quintaraz-map thumbnail tubo previa.png 64", 1, {},
        "quintaraz-map: tubo: no se puede abrir: no es un archivo normal\n");
    row("thumbnail of standard input", "quintaraz-map thumbnail - previa.png 64 < viejo.map", 1, {},
        "quintaraz-map: -: no se puede abrir: no existe el archivo o la carpeta\n");
    // git's conflict markers, named by every command that reads a map.
    const QString markers = QStringLiteral(
        ": no se puede abrir: este mapa tiene las marcas de conflicto que git escribe cuando no "
        "conoce el mezclador de mapas: ejecute `quintaraz-map git-setup` (una vez en cada copia, "
        "o `--global`) y después `git checkout -m -- ARCHIVO`\n");
    row("info and a preview of a map with conflict markers",
        "printf '<<<<<<< HEAD\\n%s\\n=======\\n%s\\n>>>>>>> suya\\n' \"$(cat viejo.map)\" "
        "\"$(cat nuevo.map)\" > mezcla.map\n"
        "quintaraz-map info mezcla.map; quintaraz-map thumbnail mezcla.map previa.png 64\n"
        "echo $?; compgen -G '*.png' || echo ninguno",
        0, "1\nninguno\n",
        "quintaraz-map: mezcla.map" + markers + "quintaraz-map: mezcla.map" + markers);
    // The line that check gives to take a byte-order mark away does so.
    row("a byte-order mark taken away as check says",
        "{ printf '\\xEF\\xBB\\xBF'; cat viejo.map; } > 'con marca.map'\n"
        "fix=$(quintaraz-map check 'con marca.map' | sed -n 's/.*`\\(sed .*\\) ARCHIVO`$/\\1/p')\n"
        "eval \"$fix 'con marca.map'\" && quintaraz-map check 'con marca.map' && cmp viejo.map "
        "'con marca.map'",
        0, "con marca.map: correcto (17x17, 8 comienzos)\n");
    // Names are bytes: found whatever their encoding, shown on one line.
    row("a Latin-1 name", "cp viejo.map $'mont\\xf1a.map' && quintaraz-map check $'mont\\xf1a.map'",
        0, "mont\\xf1a.map: correcto (17x17, 8 comienzos)\n");
    row("a Latin-1 name through git's quoting",
        "cp viejo.map $'mont\\xf1a.map' && quintaraz-map diff viejo.map mont*.map | sed -n 1p", 0,
        "viejo.map → mont\\xf1a.map\n");
    row("a name with a line break",
        "cp viejo.map $'a\\nb.map' && quintaraz-map info a*b.map | sed -n 1p", 0, "a\\nb.map\n");
    row("a name that begins with a dash",
        "cp viejo.map ./-raro.map && quintaraz-map grid -- -raro.map "
        "| sed -n 1p",
        0, "tamaño: 17x17\n");
    row("a picture name that is not UTF-8",
        "quintaraz-map render viejo.map $'mont\\xf1a.png'; echo $?; compgen -G '*.png' || echo "
        "ninguno",
        0, "1\nninguno\n",
        "quintaraz-map: mont\\xf1a.png: el nombre mont\\xf1a.png no es UTF-8 y no se puede "
        "escribir\n");
}

void TestCommandLines::shellLines()
{
    QFETCH(QString, line);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir folder;
    writeTwoMaps(folder);
    const ProgramRun run = runShellLine(line, folder.path());
    QCOMPARE(run.out, out);
    QCOMPARE(run.err, err);
    QCOMPARE(run.status, status);
}

void TestCommandLines::everyCommandHasOneShape_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("takesFiles");
    for (const auto& [command, takesFiles] : mapCommands)
        QTest::newRow(command) << QString::fromLatin1(command) << takesFiles;
}

void TestCommandLines::everyCommandHasOneShape()
{
    QFETCH(QString, command);
    QFETCH(bool, takesFiles);
    const QString map = QStringLiteral(QUINTARAZ_MAP);
    // The tool's --help lists every command, each with a line of its own.
    const ProgramRun tool = runProgram(map, {QStringLiteral("--help")});
    QCOMPARE(tool.status, 0);
    QStringList listed = commandsListed(tool.out);
    QStringList known;
    for (const auto& entry : mapCommands)
        known << QString::fromLatin1(entry.first);
    listed.sort();
    known.sort();
    QCOMPARE(listed, known);

    // "Uso: quintaraz-map ORDEN [opciones] ARGUMENTOS", options before every argument.
    const ProgramRun help = runProgram(map, {command, QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    const QString usage = help.out.section(u'\n', 0, 0);
    const QRegularExpression shape(
        QStringLiteral("^Uso: quintaraz-map %1( \\[opciones\\])?( [^-\\[\\s]\\S*)*$")
            .arg(QRegularExpression::escape(command)));
    QVERIFY2(shape.match(usage).hasMatch(), qPrintable(usage));
    QCOMPARE(help.out.contains(QStringLiteral("\n  --  Lo que sigue son archivos")), takesFiles);
    QVERIFY2(!help.out.contains(QStringLiteral("celda"), Qt::CaseInsensitive),
             qPrintable(help.out));

    // An unknown option is named whole, and the usage line is the one --help gives.
    const ProgramRun unknown = runProgram(map, {command, QStringLiteral("--todo=sí")});
    QCOMPARE(unknown.status, 2);
    QCOMPARE(
        unknown.err,
        QStringLiteral("quintaraz-map: opción desconocida «--todo=sí»%1\n%2\n")
            .arg(takesFiles ? QStringLiteral("; tras «--» todo es un archivo") : QString(), usage));
}

void TestCommandLines::newTakesEverySizeForm_data()
{
    QTest::addColumn<QStringList>("arguments"); // before the output's name
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("older"); // the older form that writes the same bytes
    QTest::addColumn<QString>("said");      // on standard error instead, with status 2
    const auto row = [](const char* title, const QStringList& arguments, const QStringList& older,
                        const char* output = "nuevo.map", const char* said = "") {
        QTest::newRow(title) << arguments << QString::fromLatin1(output) << older
                             << QString::fromUtf8(said);
    };
    row("a size before the output", {"60x40"}, {"60", "40"});
    row("--size", {"--size", "60x40"}, {"60", "40"});
    row("generate's size when none is given", {}, {"60", "40"});
    row("--size with spaces and a times sign", {"--size", "17 × 100"}, {"17", "100"});
    row("--size beside --force", {"--force", "--size", "100x17"}, {"100", "17"});
    row("for Tiled", {"23x31"}, {"23", "31"}, "nuevo.tmx");
    row("a size twice", {"--size", "60x40", "60x40"}, {}, "nuevo.map",
        "quintaraz-map: el tamaño va en --size o delante de la salida, no en los dos\n");
    row("a side too small", {"16x40"}, {}, "nuevo.map",
        "quintaraz-map: el tamaño pide columnas x filas, cada una de 17 a 100, como 60x40\n");
    row("--size of one number", {"--size", "60"}, {}, "nuevo.map",
        "quintaraz-map: --size pide columnas x filas, cada una de 17 a 100, como 60x40\n");
    row("an older form's side too large", {"60", "101"}, {}, "nuevo.map",
        "quintaraz-map: FILAS pide un número de 17 a 100\n");
}

void TestCommandLines::newTakesEverySizeForm()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QFETCH(QStringList, older);
    QFETCH(QString, said);
    const QString map = QStringLiteral(QUINTARAZ_MAP);
    QTemporaryDir folder;
    const QStringList line = QStringList{QStringLiteral("new")} + arguments + QStringList{output};
    const ProgramRun run = runProgram(map, line, folder.path());
    if (!said.isEmpty()) {
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err.section(u'\n', 0, 0) + u'\n', said);
        QCOMPARE(run.err.section(u'\n', 1), QStringLiteral("Uso: quintaraz-map new [opciones] "
                                                           "SALIDA.map|SALIDA.tmx|SALIDA.tmj\n"));
        QVERIFY(!QFile::exists(folder.filePath(output)));
        return;
    }
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QTemporaryDir olderFolder;
    const ProgramRun olderRun = runProgram(
        map, QStringList{QStringLiteral("new")} + older + QStringList{output}, olderFolder.path());
    QCOMPARE(olderRun.status, 0);
    const QByteArray written = testmaps::readFile(folder.filePath(output));
    QVERIFY(!written.isEmpty());
    QCOMPARE(written, testmaps::readFile(olderFolder.filePath(output)));
}

void TestCommandLines::textsSayOneWordForACell_data()
{
    QTest::addColumn<QString>("line"); // for bash, beside viejo.map and nuevo.map
    QTest::addColumn<QString>("said"); // part of what it writes, on standard output or error
    const auto row = [](const char* title, const char* line, const char* said) {
        QTest::newRow(title) << QString::fromUtf8(line) << QString::fromUtf8(said);
    };
    row("every command's --help",
        "for c in $(quintaraz-map --help | sed -n '/^Órdenes:/,/^$/p' | awk 'NF > 1 {print $1}'); "
        "do quintaraz-map $c --help; done",
        "a N píxeles por casilla");
    row("a map cut short", "printf '16,16,0,0<fin>2 3,' > corto.map; quintaraz-map check corto.map",
        "solo hay 2 de las 289 casillas");
    row("a letter among the cells",
        "sed 's/^16,16,0,0,/16,16,0,a,/' viejo.map > letra.map; quintaraz-map check letra.map",
        "la casilla de la columna 1, fila 0 es «a»");
    row("a width the editor does not open",
        "sed 's/^16,/15,/' viejo.map > estrecho.map; quintaraz-map check estrecho.map",
        "el ancho 15 da 16 columnas; el editor abre de 17 a 100 columnas");
    row("a height the editor does not open",
        "sed 's/^16,16,/16,100,/' viejo.map > alto.map; quintaraz-map check alto.map",
        "el alto 100 da 101 filas; el editor abre de 17 a 100 filas");
    row("two starts on one cell",
        "sed 's/2 3,15 3,/2 3,2 3,/' viejo.map > misma.map; quintaraz-map check misma.map",
        "comienzan en la misma casilla (columna 2, fila 3)");
    row("info", "quintaraz-map info viejo.map", "tamaño: 17x17 casillas (Ancho = 16, Alto = 16)");
    row("diff of one map", "quintaraz-map diff viejo.map viejo.map",
        "el mismo mapa: las mismas casillas");
    row("balance", "quintaraz-map balance viejo.map",
        "viejo.map: 17x17 casillas; radio R = 12 pasos");
    row("balance's measures", "quintaraz-map balance nuevo.map | grep '^rival'", "rival cercano ");
    row("generate", "quintaraz-map generate --seed 1 --size 24x24 generado.map",
        "generado.map: 24x24 casillas, octogonal, semilla 1");
}

void TestCommandLines::textsSayOneWordForACell()
{
    QFETCH(QString, line);
    QFETCH(QString, said);
    QTemporaryDir folder;
    writeTwoMaps(folder);
    const ProgramRun run = runShellLine(line, folder.path());
    const QString text = run.out + run.err;
    QVERIFY2(text.contains(said), qPrintable(text));
    // One word for a cell, and one name for each measure.
    static const QRegularExpression other(QStringLiteral("celda|rival más cercano"),
                                          QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(!other.match(text).hasMatch(), qPrintable(other.match(text).captured()));
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
