// Maps in real git repositories, set up with the README's own lines, as a team of map
// makers uses them: branches, merges, history, odd file names, and the README's CI job.

#include "mapedits.h"
#include "programrun.h"
#include "testmaps.h"
#include "versions/attributeorigin.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace quintaraz;
using namespace mapedits;

namespace {

/** The text of the README's first block fenced as language that holds marker. */
QString readmeBlock(const QString& language, const QString& marker)
{
    const QString readme = QString::fromUtf8(testmaps::readFile(QStringLiteral(QUINTARAZ_README)));
    const QRegularExpression blocks(QStringLiteral("\n```%1\n(.*?)\n```\n").arg(language),
                                    QRegularExpression::DotMatchesEverythingOption);
    for (auto match = blocks.globalMatch(readme); match.hasNext();)
        if (const QString block = match.next().captured(1); block.contains(marker))
            return block;
    return {};
}

/**
 * A terminal of the README's reader, kept away from the machine's own git settings: the
 * tool on the PATH, a home of its own, Spanish-speaking UTF-8. It runs bash lines.
 */
class Terminal {
public:
    explicit Terminal(const QString& home)
        : environment_(QProcessEnvironment::systemEnvironment())
    {
        environment_.insert(QStringLiteral("PATH"),
                            QFileInfo(QStringLiteral(QUINTARAZ_MAP)).path() + u':' +
                                environment_.value(QStringLiteral("PATH")));
        environment_.insert(QStringLiteral("HOME"), home);
        environment_.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment_.insert(QStringLiteral("GIT_CONFIG_NOSYSTEM"), QStringLiteral("1"));
        environment_.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        for (const char* who : {"AUTHOR", "COMMITTER"}) {
            environment_.insert(QStringLiteral("GIT_%1_NAME").arg(QLatin1String(who)),
                                QStringLiteral("Cartógrafa"));
            environment_.insert(QStringLiteral("GIT_%1_EMAIL").arg(QLatin1String(who)),
                                QStringLiteral("cartografa@example.org"));
        }
    }

    ProgramRun run(const QString& script, const QString& folder,
                   const QStringList& arguments = {}) const
    {
        return runProgram(QStringLiteral("bash"),
                          QStringList{QStringLiteral("-c"), script} + arguments, folder,
                          environment_);
    }

private:
    QProcessEnvironment environment_;
};

/**
 * Runs the README's set-up lines in folder, a repository, and compares what they print with
 * what the README shows they print.
 */
void setUpAsTheReadmeSays(const QString& folder, const Terminal& terminal)
{
    const QString block = readmeBlock(QStringLiteral("console"), QStringLiteral("git-setup"));
    QVERIFY2(!block.isEmpty(), "README.md shows no git-setup");
    QString commands;
    QString shown;
    for (const QString& line : block.split(u'\n')) {
        if (line.startsWith(QStringLiteral("$ ")))
            commands += line.mid(2) + u'\n';
        else
            shown += line + u'\n';
    }
    const ProgramRun run = terminal.run(QStringLiteral("set -e\n") + commands, folder);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, shown);
    QCOMPARE(run.status, 0);
}

/** A map that is not damaged for a start, and is past its 256th byte: 615 bytes. */
QByteArray longDamaged(char at500)
{
    QByteArray text = "16,16,0,a," + QByteArray("0,").repeated(300) + "<fin>";
    text[500] = at500;
    return text;
}

/** The SHA-256 of bytes, as grid names it. */
QString digest(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

/** The pointer that Git LFS keeps in place of a file, as its specification writes it. */
QByteArray lfsPointer(const char* oid)
{
    return QByteArray("version https://git-lfs.github.com/spec/v1\noid sha256:") + oid +
           "\nsize 722\n";
}

/** A grass map of 30 by 17 cells with the example's starts. */
void widen(GameMap& map)
{
    map.resize(29, map.maxheight);
}

/** The starts where every turn and mirror of the 17 by 17 map takes them onto one another. */
void fairStarts(GameMap& map)
{
    const std::array<GridPoint, playerCount> starts{
        {{4, 2}, {12, 2}, {4, 14}, {12, 14}, {2, 4}, {14, 4}, {2, 12}, {14, 12}}};
    std::copy(starts.begin(), starts.end(), map.starts.begin());
}

/** The versions of a map that the scenarios commit, by name. */
const QList<std::pair<const char*, QByteArray>>& versions()
{
    static const QList<std::pair<const char*, QByteArray>> all{
        {"base", example()},
        {"agua", example(paint(1, 1, 1, 1, Terrain::Water))},
        {"roca", example(paint(1, 1, 1, 1, Terrain::Rock))},
        {"cruce", example([](GameMap& map) { std::swap(map.starts[0], map.starts[1]); })},
        {"cruce-y-agua", exampleWith([](GameMap& map) { std::swap(map.starts[0], map.starts[1]); },
                                     paint(1, 1, 1, 1, Terrain::Water))},
        {"movido", example(moveStart(2, 9, 9))},
        {"lago", example(paint(9, 9, 9, 9, Terrain::Water))},
        {"roto", "16,16,0,a,0<fin>"},
        {"grande", QByteArray("0,").repeated(600 * 1024)},
        {"agua-y-lago",
         exampleWith(paint(1, 1, 1, 1, Terrain::Water), paint(9, 9, 9, 9, Terrain::Water))},
        {"roto-largo", longDamaged('0')},
        {"roto-largo-2", longDamaged('1')},
        {"puntero-a",
         lfsPointer("4d7a214614ab2935c943f9e0ff69d22eadbb8f32b1258daaa5e2ca24d17e2393")},
        {"puntero-b",
         lfsPointer("0f2a6ad8e95a8c3b1d0f1b4a9e36a55b2e6cc8fa2d0d3f0b7d2e2d8c1b0a9f8e")},
        {"ancho", example(widen)},
        {"ancho-agua", exampleWith(widen, paint(5, 5, 24, 7, Terrain::Water))},
        {"ancho-roca", exampleWith(widen, paint(5, 5, 24, 7, Terrain::Rock))},
        {"justo", example(fairStarts)},
        {"justo-arbol", exampleWith(fairStarts, paint(8, 8, 8, 8, Terrain::Tree))},
        {"justo-cruz", exampleWith(fairStarts, paint(7, 8, 9, 8, Terrain::Tree),
                                   paint(8, 7, 8, 9, Terrain::Tree))},
        {"injusto", exampleWith(fairStarts, paint(7, 8, 9, 8, Terrain::Tree),
                                paint(8, 7, 8, 9, Terrain::Tree), moveStart(0, 1, 1))},
    };
    return all;
}

// Commits a version of the map: pon VERSION [FILE], the scenario's map by default.
const char* const prelude = R"(set -e
pon() { cp -- "$VERSIONES/$1.map" "${2:-$NOMBRE}"; git add -- "${2:-$NOMBRE}"; git commit -qm "$1"; }
)";

} // namespace

class TestMapsInGit : public QObject {
    Q_OBJECT

private slots:
    void teamsWorkOnMaps_data();
    void teamsWorkOnMaps();
    void setUpAgainAndForEveryRepository();
    void setUpNamesWhatOverridesIt_data();
    void setUpNamesWhatOverridesIt();
    void attributeLinesAsGitDecides_data();
    void attributeLinesAsGitDecides();
    void ciJobOfTheReadme();
};

void TestMapsInGit::teamsWorkOnMaps_data()
{
    QTest::addColumn<QString>("name");   // the map's file name, as a word of bash
    QTest::addColumn<QString>("script"); // after the prelude, in the set-up repository
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("said"); // lines of its output, or parts of them
    QTest::addColumn<QString>("unsaid");   // never in its output
    QTest::addColumn<QString>("result");   // the version the map holds at the end, if any
    const auto row = [](const char* title, const char* name, const QString& script, int status,
                        const QStringList& said, const char* result = "", const char* unsaid = "") {
        QTest::newRow(title) << QString::fromUtf8(name) << script << status << said
                             << QString::fromUtf8(unsaid) << QString::fromUtf8(result);
    };
    // Each branch resolved the conflict its own way; the merge of the two merges must not
    // settle it in silence.
    row("criss-cross merge", "mapa.map",
        "pon base\n"
        "git checkout -qb x; pon agua\n"
        "git checkout -q principal; git checkout -qb y; pon roca\n"
        "git checkout -qb m1 x; git merge -q y >/dev/null 2>&1 || pon agua\n"
        "git checkout -qb m2 y; git merge -q x >/dev/null 2>&1 || pon roca\n"
        "git checkout -q m1\n"
        "git merge m2\n",
        1,
        {"quintaraz-map: mapa.map: conflicto en la columna 1, fila 1: base Hierba; nuestro Agua; "
         "suyo Roca: queda el nuestro",
         "CONFLICT (content): Merge conflict in mapa.map"},
        "agua");
    row("a damaged map and a huge one in history", "mapa.map",
        "pon base; pon roto; pon grande; pon agua\n"
        "git show HEAD~1 >/dev/null\n"
        "git diff HEAD~3 HEAD~2 >/dev/null\n"
        "git blame mapa.map >/dev/null\n"
        "git log -p --format='commit: %s'\n",
        0,
        {"commit: agua", "-no es un mapa: no se puede abrir: mide más de 1 MiB",
         "+sus primeros 256 bytes: «0,0,0,", "commit: grande",
         "+no es un mapa: archivo corrupto en el byte 8: la casilla de la columna 1, fila 0 es «a»",
         "+sus 16 bytes: «16,16,0,a,0<fin>»", "commit: roto", "+jugador 8: columna 16, fila 16",
         "commit: base"});
    row("two starts swapped", "mapa.map",
        "pon base\n"
        "git checkout -qb suya; pon agua\n"
        "git checkout -q principal; pon cruce\n"
        "git show --format= HEAD\n"
        "quintaraz-map diff <(git show HEAD~1:mapa.map) mapa.map || [ $? -eq 1 ]\n"
        "git merge -q --no-edit suya\n",
        0,
        {"-jugador 1: columna 2, fila 3\n-jugador 2: columna 15, fila 3\n"
         "+jugador 1: columna 15, fila 3\n+jugador 2: columna 2, fila 3\n",
         "jugador 1: columna 2, fila 3 → columna 15, fila 3\n"
         "jugador 2: columna 15, fila 3 → columna 2, fila 3\n"},
        "cruce-y-agua");
    row("their start onto our water", "mapa.map",
        "pon base\n"
        "git checkout -qb suya; pon movido\n"
        "git checkout -q principal; pon lago\n"
        "git merge suya\n",
        1,
        {"quintaraz-map: mapa.map: conflicto en el comienzo del jugador 3: quedaría en la "
         "columna 9, fila 9, en agua; queda el nuestro, en la columna 8, fila 8\n"},
        "lago");
    row("both branches add the map", "nuevo.map",
        "git checkout -qb suya; pon roca\n"
        "git checkout -q principal; pon agua\n"
        "git merge suya\n",
        1,
        {"quintaraz-map: nuevo.map: no hay base común (los dos lados añaden el mapa): cada "
         "diferencia es un conflicto\n",
         "quintaraz-map: nuevo.map: conflicto en la columna 1, fila 1: nuestro Agua; suyo Roca: "
         "queda el nuestro\n"},
        "agua", "falta la marca");
    // A version that is not a map shows its whole file's size and digest: a change past the
    // bytes it shows is a changed line.
    row("a damaged version changed past byte 256", "mapa.map",
        "pon base; pon roto-largo; pon roto-largo-2\ngit show --format=\n", 0,
        {QStringLiteral(" sus primeros 256 bytes: «16,16,0,a,0,"),
         QStringLiteral("-mide 615 bytes, SHA-256 %1\n+mide 615 bytes, SHA-256 %2\n")
             .arg(digest(longDamaged('0')), digest(longDamaged('1')))});
    // A teammate's clone has the attributes but not the settings: git merges the map line by
    // line. What is left is named, and the README's lines merge it again, cell by cell.
    row("a clone without the setup pulls a map change", "valle.map",
        "pon base\n"
        "git clone -q . ../copia\n"
        "pon agua\n"
        "cd ../copia\n"
        "cp -- \"$VERSIONES/lago.map\" valle.map; git commit -qam lago\n"
        "git pull -q --rebase || true\n"
        "quintaraz-map check valle.map || true\n"
        "quintaraz-map conflicts\n" +
            readmeBlock(QStringLiteral("sh"), QStringLiteral("checkout -m")) +
            "\ngit add valle.map && GIT_EDITOR=true git rebase --continue >/dev/null\n"
            "cmp valle.map \"$VERSIONES/agua-y-lago.map\" && echo mezclado casilla a casilla\n"
            "git log --format=%s | head -n 2\n",
        0,
        {"CONFLICT (content): Merge conflict in valle.map",
         "valle.map: no se puede abrir: este mapa tiene las marcas de conflicto que git escribe "
         "cuando no conoce el mezclador de mapas: ejecute `quintaraz-map git-setup` (una vez en "
         "cada copia, o `--global`) y después `git checkout -m -- ARCHIVO`\n",
         "valle.map: sin conflictos casilla a casilla; git no usó el mezclador de mapas: "
         "quintaraz-map git-setup y después git checkout -m -- valle.map\n",
         "mezclado casilla a casilla\nlago\nagua\n"});
    // Maps kept by Git LFS reach the tool as pointers: each command says what they are.
    row("a Git LFS pointer", "mapa.map",
        "pon base\n"
        "git checkout -qb suya; pon puntero-b\n"
        "git checkout -q principal; pon puntero-a\n"
        "git show --format= HEAD\n"
        "quintaraz-map check mapa.map || true\n"
        "quintaraz-map diff \"$VERSIONES/base.map\" mapa.map || true\n"
        "git merge suya\n",
        1,
        {"+no es un mapa: no se puede abrir: es un puntero de Git LFS, no el mapa: ",
         "\nmapa.map: no se puede abrir: es un puntero de Git LFS, no el mapa: ",
         "quintaraz-map: mapa.map: no se puede abrir: es un puntero de Git LFS, no el mapa: ",
         "quintaraz-map: mapa.map (nuestro): no se puede abrir: es un puntero de Git LFS, no el "
         "mapa: "},
        "puntero-a");
    // A block painted two ways is one conflict, as diff would say it, and a count.
    row("a block painted two ways", "mapa.map",
        "pon ancho\n"
        "git checkout -qb suya; pon ancho-roca\n"
        "git checkout -q principal; pon ancho-agua\n"
        "git merge suya\n",
        1,
        {"quintaraz-map: mapa.map: conflicto en 60 casillas, columnas 5–24, filas 5–7: base "
         "Hierba; nuestro Agua; suyo Roca: queda el nuestro\n"
         "quintaraz-map: mapa.map: en conflicto: 60 casillas en 1 zona\n"},
        "ancho-agua", "conflicto en la columna");
    // While the merge is unresolved, its conflicts again, from git's three versions, whatever
    // the file holds by then, and the picture merge draws.
    row("conflicts again while unresolved", "valle.map",
        "pon ancho\n"
        "git checkout -qb suya; pon ancho-roca\n"
        "git checkout -q principal; pon ancho-agua\n"
        "git merge suya >/dev/null 2>&1 || true\n"
        "cp -- \"$VERSIONES/base.map\" valle.map\n" +
            readmeBlock(QStringLiteral("sh"), QStringLiteral("conflicts --picture")).trimmed() +
            " || echo \"salida $?\"\n"
            "cp -- \"$VERSIONES/ancho-agua.map\" ../nuestro.map\n"
            "quintaraz-map merge --picture ../mezcla.png -- \"$VERSIONES/ancho.map\" "
            "../nuestro.map "
            "\"$VERSIONES/ancho-roca.map\" 2>/dev/null || cmp conflictos.png ../mezcla.png\n",
        0,
        {"valle.map: conflicto en 60 casillas, columnas 5–24, filas 5–7: base Hierba; nuestro "
         "Agua; suyo Roca: queda el nuestro\nvalle.map: en conflicto: 60 casillas en 1 zona\n"
         "salida 1\n"},
        "base");
    // The README's bisect line skips a damaged version instead of calling it bad.
    row("bisect past a damaged map", "valle.map",
        "pon justo; pon justo-arbol; pon roto; pon justo-cruz; pon injusto\n"
        "git bisect start HEAD HEAD~4 >/dev/null\n" +
            readmeBlock(QStringLiteral("sh"), QStringLiteral("bisect run")) + "\n",
        0, {"is the first bad commit", "\n    injusto\n"}, "", "could be any of");
    // Every name git hands over: through the text view, and through the merge driver.
    const char* names = "pon base\n"
                        "git checkout -qb suya; pon roca\n"
                        "git checkout -q principal; pon agua\n"
                        "git diff HEAD~1 -- \"./$NOMBRE\"\n"
                        "git log -p --format=%s -- \"./$NOMBRE\" | grep -c '^+jugador 8'\n"
                        "git merge suya\n";
    const auto conflict = [](const char* name) {
        return QStringList{"-00000000000000000\n+02000000000000000\n", "\n1\n",
                           QStringLiteral("quintaraz-map: %1: conflicto en la columna 1, fila 1: "
                                          "base Hierba; nuestro Agua; suyo Roca: queda el "
                                          "nuestro\n")
                               .arg(QString::fromUtf8(name))};
    };
    row("a name that begins with a dash", "-raro.map", names, 1, conflict("-raro.map"), "agua",
        "desconocida");
    row("a name with spaces", "'mapa con espacios.map'", names, 1,
        conflict("mapa con espacios.map"), "agua");
    row("a UTF-8 name, which git quotes", "montaña.map", names, 1, conflict("montaña.map"), "agua");
    row("a Latin-1 name", "$'mont\\xf1a.map'", names, 1, conflict("mont\\xf1a.map"), "agua",
        "no existe");
    row("a name with a line break", "$'ojo\\nquintaraz-map: falso.map'", names, 1,
        conflict("ojo\\nquintaraz-map: falso.map"), "agua", "\nquintaraz-map: falso.map:");
}

void TestMapsInGit::teamsWorkOnMaps()
{
    QFETCH(QString, name);
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(QStringList, said);
    QFETCH(QString, unsaid);
    QFETCH(QString, result);
    QTemporaryDir folder;
    const Terminal terminal(folder.path());
    // Qt's files cannot name what is not UTF-8: the shell removes what the scenario made.
    const auto removeAll = qScopeGuard([&] { terminal.run("rm -rf -- mapas", folder.path()); });
    const QString versionFolder = folder.filePath(QStringLiteral("versiones"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("versiones")));
    for (const auto& [version, bytes] : versions())
        QVERIFY(testmaps::writeFile(versionFolder + u'/' + QLatin1String(version) + ".map", bytes));
    const QString repository = folder.filePath(QStringLiteral("mapas"));
    QCOMPARE(terminal.run("git init -q -b principal mapas", folder.path()).status, 0);
    setUpAsTheReadmeSays(repository, terminal);
    if (QTest::currentTestFailed())
        return;
    const QString names = QStringLiteral("VERSIONES='%1'\nNOMBRE=%2\n").arg(versionFolder, name);
    QCOMPARE(terminal.run(names + "git add .gitattributes && git commit -qm atributos", repository)
                 .status,
             0);

    const ProgramRun run = terminal.run(QLatin1String(prelude) + names + script, repository);
    const QString output = run.out + run.err;
    for (const QString& line : said)
        QVERIFY2(output.contains(line),
                 qPrintable(QStringLiteral("«%1» not in:\n%2").arg(line, output)));
    if (!unsaid.isEmpty())
        QVERIFY2(!output.contains(unsaid), qPrintable(output));
    QVERIFY2(run.status == status, qPrintable(output));
    if (!result.isEmpty()) {
        const ProgramRun same =
            terminal.run(names + "cmp -- \"$NOMBRE\" \"$VERSIONES/$1.map\" || "
                                 "quintaraz-map diff -- \"$VERSIONES/$1.map\" \"$NOMBRE\"",
                         repository, {QStringLiteral("bash"), result});
        QVERIFY2(same.status == 0, qPrintable(same.out + same.err));
    }
}

void TestMapsInGit::setUpAgainAndForEveryRepository()
{
    QTemporaryDir folder;
    const Terminal terminal(folder.path());
    const QString repository = folder.filePath(QStringLiteral("mapas"));
    // Settings copied from an older README, and attributes of the repository's own.
    QCOMPARE(terminal
                 .run("git init -q mapas && cd mapas && printf '*.png binary' > .gitattributes && "
                      "git config diff.quintaraz.textconv 'quintaraz-map grid'",
                      folder.path())
                 .status,
             0);
    ProgramRun run = terminal.run("quintaraz-map git-setup && quintaraz-map git-setup && "
                                  "git config --get-all diff.quintaraz.textconv",
                                  repository);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.endsWith(
                 ".gitattributes: *.map diff=quintaraz merge=quintaraz (ya estaba)\n"
                 "git config diff.quintaraz.textconv 'quintaraz-map grid --'\n"
                 "git config diff.quintaraz.cachetextconv true\n"
                 "git config merge.quintaraz.name 'mapas de Quintaraz'\n"
                 "git config merge.quintaraz.driver 'quintaraz-map merge --name %P -- %O %A %B'\n"
                 "git config merge.quintaraz.recursive binary\n"
                 "quintaraz-map grid --\n"),
             qPrintable(run.out));
    QCOMPARE(testmaps::readFile(repository + "/.gitattributes"),
             "*.png binary\n*.map diff=quintaraz merge=quintaraz\n");

    // For every repository of the user: nothing in this one, all in the user's files.
    const QString other = folder.filePath(QStringLiteral("otro"));
    QCOMPARE(terminal.run("git init -q otro", folder.path()).status, 0);
    run = terminal.run("quintaraz-map git-setup --global", other);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out,
             folder.path() +
                 "/.config/git/attributes: *.map diff=quintaraz merge=quintaraz\n"
                 "git config --global diff.quintaraz.textconv 'quintaraz-map grid --'\n"
                 "git config --global diff.quintaraz.cachetextconv true\n"
                 "git config --global merge.quintaraz.name 'mapas de Quintaraz'\n"
                 "git config --global merge.quintaraz.driver 'quintaraz-map merge --name %P -- "
                 "%O %A %B'\n"
                 "git config --global merge.quintaraz.recursive binary\n");
    QVERIFY(!QFile::exists(other + "/.gitattributes"));
    QVERIFY(testmaps::writeFile(other + "/valle.map", example()));
    run = terminal.run("git add valle.map && git commit -qm valle && git show --format=", other);
    QCOMPARE(run.out.count(QStringLiteral("\n+jugador ")), 8);

    // Outside a repository, it says so and writes nothing.
    run = terminal.run("quintaraz-map git-setup", folder.path());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith("quintaraz-map: git: la carpeta actual no está en un repositorio"),
             qPrintable(run.err));

    // What cannot be done is said as it is, and no setting is made.
    QCOMPARE(terminal.run("git init -q raro && mkdir raro/.gitattributes", folder.path()).status,
             0);
    const QString odd = folder.filePath(QStringLiteral("raro"));
    run = terminal.run("quintaraz-map git-setup", odd);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, "quintaraz-map: " + odd +
                          "/.gitattributes: no es un archivo normal de menos de 1 MiB\n");
    QCOMPARE(terminal.run("git config --local --get diff.quintaraz.textconv", odd).status, 1);
    run = terminal.run("PATH=$(dirname \"$(command -v quintaraz-map)\") quintaraz-map git-setup",
                       repository);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QStringLiteral("quintaraz-map: git: no se puede ejecutar git: ¿está "
                                     "instalado?\n"));
}

void TestMapsInGit::setUpNamesWhatOverridesIt_data()
{
    QTest::addColumn<QString>("before"); // bash lines in a new repository, valle.map there
    QTest::addColumn<QString>("setUp");  // the set-up's own line
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // on standard error
    const auto row = [](const char* title, const char* before, const QString& said,
                        const QString& setUp = QStringLiteral("quintaraz-map git-setup")) {
        QTest::newRow(title) << QString::fromUtf8(before) << setUp << (said.isEmpty() ? 0 : 1)
                             << said;
    };
    const QString keep = QStringLiteral(
        "git-setup no cambia líneas que no son suyas: quite esa línea, o añada tras ella, en el "
        "mismo archivo, «*.map diff=quintaraz merge=quintaraz»\n");
    row("nothing in the way", "mkdir mapas; cp valle.map mapas/", {});
    row("a later binary line",
        "printf '*.map diff=quintaraz merge=quintaraz\\n*.png binary\\n*.map binary\\n' > "
        ".gitattributes",
        "quintaraz-map: .gitattributes:3: «*.map binary» quita la vista de texto y el mezclador de "
        "mapas a valle.map (git check-attr: diff: unset, merge: unset); " +
            keep);
    row("a subfolder's attributes",
        "mkdir -p mapas/viejos; cp valle.map mapas/viejos/; cp valle.map mapas/\n"
        "printf '*.map -merge\\n' > mapas/.gitattributes",
        "quintaraz-map: mapas/.gitattributes:1: «*.map -merge» quita el mezclador de mapas a "
        "mapas/valle.map y los mapas de otra carpeta (git check-attr: merge: unset); " +
            keep);
    row("the repository's own attributes", "printf '*.map -diff\\n' > .git/info/attributes",
        "quintaraz-map: .git/info/attributes:1: «*.map -diff» quita la vista de texto de los mapas "
        "a valle.map (git check-attr: diff: unset); " +
            keep);
    row("a repository's line over the user's, set up for every repository",
        "printf '*.map binary\\n' > .gitattributes",
        "quintaraz-map: .gitattributes:1: «*.map binary» quita la vista de texto y el mezclador de "
        "mapas a valle.map (git check-attr: diff: unset, merge: unset); " +
            keep,
        QStringLiteral("quintaraz-map git-setup --global"));
    const QString lfs = QStringLiteral(
        "guarda valle.map en Git LFS, que deja en el repositorio punteros que ninguna mezcla "
        "casilla a casilla puede leer (git check-attr: %1); los mapas son texto pequeño: saque "
        "los mapas de LFS con git lfs untrack '*.map' (o quite filter=lfs de esa línea) y git "
        "add --renormalize -- '*.map', y confirme el cambio\n");
    row("maps in LFS", "printf '*.map filter=lfs diff=lfs merge=lfs -text\\n' > .gitattributes",
        "quintaraz-map: .gitattributes:1: «*.map filter=lfs diff=lfs merge=lfs -text» " +
            lfs.arg("filter: lfs"));
    row("maps in LFS by a later line",
        "printf '*.map diff=quintaraz merge=quintaraz\\n*.map filter=lfs diff=lfs merge=lfs "
        "-text\\n' > .gitattributes",
        "quintaraz-map: .gitattributes:2: «*.map filter=lfs diff=lfs merge=lfs -text» " +
            lfs.arg("diff: lfs, merge: lfs, filter: lfs"));
    // The README's own example.
    const QString example = readmeBlock(QStringLiteral("console"), QStringLiteral("2>&1"));
    QTest::newRow("the README's example")
        << "mkdir mapas; mv valle.map mapas/; printf '*.map binary\\n' > mapas/.gitattributes"
        << example.section(u'\n', 0, 0).mid(2) << 1 << example.section(u'\n', 1) + u'\n';
}

void TestMapsInGit::setUpNamesWhatOverridesIt()
{
    // What git applies, asked of git: a line that wins over the set-up's own is named, and
    // stays as it was.
    QFETCH(QString, before);
    QFETCH(QString, setUp);
    QFETCH(int, status);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const Terminal terminal(folder.path());
    const QString repository = folder.filePath(QStringLiteral("mapas"));
    QCOMPARE(terminal.run("git init -q mapas", folder.path()).status, 0);
    QVERIFY(testmaps::writeFile(repository + "/valle.map", example()));
    QCOMPARE(terminal.run(before, repository).status, 0);
    const QStringList files{".gitattributes", "mapas/.gitattributes", ".git/info/attributes"};
    QList<QByteArray> was;
    for (const QString& file : files)
        was << testmaps::readFile(repository + u'/' + file);
    const ProgramRun run = terminal.run(setUp, repository);
    QCOMPARE(setUp.contains("2>&1") ? run.out : run.err, said);
    QCOMPARE(run.status, status);
    // Only the set-up's own line was added, after what was there.
    const QByteArray line = "*.map diff=quintaraz merge=quintaraz\n";
    if (!setUp.contains("--global") && !was[0].contains(line))
        was[0] += line;
    for (qsizetype k = 0; k < files.size(); ++k)
        QCOMPARE(testmaps::readFile(repository + u'/' + files[k]), was[k]);
}

void TestMapsInGit::attributeLinesAsGitDecides_data()
{
    QTest::addColumn<QStringList>("files"); // a path in the repository, then its lines
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("origins"); // "attribute file:line" of those lines decide
    const QString ours = QStringLiteral("*.map diff=quintaraz merge=quintaraz");
    const auto row = [](const char* title, const QStringList& files, const char* path,
                        const QStringList& origins) {
        QTest::newRow(title) << files << QString::fromUtf8(path) << origins;
    };
    row("a later binary line", {".gitattributes", ours + "\n*.map binary"}, "valle.map",
        {"diff .gitattributes:2", "merge .gitattributes:2", "text .gitattributes:2"});
    row("an earlier binary line", {".gitattributes", "*.map binary\n" + ours}, "valle.map",
        {"diff .gitattributes:2", "merge .gitattributes:2", "text .gitattributes:1"});
    row("a later word of the same line", {".gitattributes", "*.map binary diff=quintaraz"},
        "a/valle.map",
        {"diff .gitattributes:1", "merge .gitattributes:1", "text .gitattributes:1"});
    row("a subfolder's file", {".gitattributes", ours, "sub/.gitattributes", "*.map -diff"},
        "sub/valle.map", {"diff sub/.gitattributes:1", "merge .gitattributes:1"});
    row("a subfolder's file, for a map beside it only",
        {".gitattributes", ours, "sub/.gitattributes", "*.map -diff"}, "otra/valle.map",
        {"diff .gitattributes:1", "merge .gitattributes:1"});
    row("the repository's own file",
        {".gitattributes", ours, ".git/info/attributes", "*.map -merge"}, "valle.map",
        {"diff .gitattributes:1", "merge .git/info/attributes:1"});
    row("LFS", {".gitattributes", "*.map filter=lfs diff=lfs merge=lfs -text\n" + ours},
        "valle.map",
        {"diff .gitattributes:2", "merge .gitattributes:2", "text .gitattributes:1",
         "filter .gitattributes:1"});
    row("a macro",
        {".gitattributes", "[attr]mapas diff=quintaraz merge=quintaraz -text\n*.map mapas"},
        "a/b/valle.map",
        {"diff .gitattributes:2", "merge .gitattributes:2", "text .gitattributes:2"});
    row("a macro in a subfolder, which git ignores",
        {".gitattributes", ours, "sub/.gitattributes", "[attr]bin -diff\n*.map bin"},
        "sub/valle.map", {"diff .gitattributes:1", "merge .gitattributes:1"});
    row("a pattern with a folder", {".gitattributes", ours + "\nmapas/*.map binary"},
        "mapas/viejos/valle.map", {"diff .gitattributes:1", "merge .gitattributes:1"});
    row("two stars", {".gitattributes", ours + "\n**/viejos/**/*.map -merge"},
        "mapas/viejos/a/valle.map", {"diff .gitattributes:1", "merge .gitattributes:2"});
    row("a folder pattern, which names no file", {".gitattributes", ours + "\nmapas/ binary"},
        "mapas/valle.map", {"diff .gitattributes:1", "merge .gitattributes:1"});
    row("a quoted name", {".gitattributes", ours + "\n\"mapa con espacios.map\" -diff"},
        "mapa con espacios.map", {"diff .gitattributes:2", "merge .gitattributes:1"});
    row("a bracket and a case that differs",
        {".gitattributes", ours + "\n[vw]alle.map -diff\n*.MAP -merge"}, "valle.map",
        {"diff .gitattributes:2", "merge .gitattributes:1"});
    row("an anchored pattern", {".gitattributes", ours + "\n/valle.map -diff"}, "sub/valle.map",
        {"diff .gitattributes:1", "merge .gitattributes:1"});
}

void TestMapsInGit::attributeLinesAsGitDecides()
{
    // git check-attr says each value; the line found to decide it must give that value.
    QFETCH(QStringList, files);
    QFETCH(QString, path);
    QFETCH(QStringList, origins);
    QTemporaryDir folder;
    const Terminal terminal(folder.path());
    QCOMPARE(terminal.run("git init -q .", folder.path()).status, 0);
    for (qsizetype k = 0; k < files.size(); k += 2) {
        const QString file = folder.filePath(files[k]);
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QVERIFY(testmaps::writeFile(file, files[k + 1].toUtf8() + '\n'));
    }
    const QStringList attributes{"diff", "merge", "text", "filter"};
    const ProgramRun git = terminal.run("git check-attr -z \"$@\"", folder.path(),
                                        QStringList{"bash"} + attributes + QStringList{"--", path});
    QCOMPARE(git.status, 0);
    const QStringList said = git.out.split(u'\0');
    const std::map<QString, AttributeOrigin> found = attributeOrigins(
        attributesFilesFor(folder.path(), {folder.filePath(".git/info/attributes"), {}, {}}, path),
        path, attributes);
    QStringList decided;
    for (qsizetype k = 0; k + 2 < said.size(); k += 3) {
        const AttributeOrigin& origin = found.at(said[k + 1]);
        QCOMPARE(said[k + 1] + u' ' + origin.value, said[k + 1] + u' ' + said[k + 2]);
        if (origin.line)
            decided << QStringLiteral("%1 %2:%3")
                           .arg(said[k + 1], origin.line->file)
                           .arg(origin.line->number);
    }
    QCOMPARE(decided, origins);
}

void TestMapsInGit::ciJobOfTheReadme()
{
    QTemporaryDir folder;
    const Terminal terminal(folder.path());
    const QString origin = folder.filePath(QStringLiteral("origen"));
    const QString work = folder.filePath(QStringLiteral("trabajo"));
    QCOMPARE(
        terminal.run("git init -q -b principal origen && mkdir origen/sub", folder.path()).status,
        0);
    for (const char* name :
         {"mapa con espacios.map", "montaña.map", "-raro.map", "sub/valle.map", "quieto.map"})
        QVERIFY(testmaps::writeFile(origin + u'/' + QString::fromUtf8(name), example()));
    QCOMPARE(terminal.run("git add -A && git commit -qm mapas && git clone -q . ../trabajo", origin)
                 .status,
             0);

    // The pull request changes three maps and adds one; the base branch then changes another.
    const QByteArray water = example(paint(1, 1, 1, 1, Terrain::Water));
    for (const char* name : {"mapa con espacios.map", "montaña.map", "-raro.map"})
        QVERIFY(testmaps::writeFile(work + u'/' + QString::fromUtf8(name), water));
    QVERIFY(testmaps::writeFile(work + "/sub/nuevo.map", example(moveStart(2, 9, 9))));
    QCOMPARE(terminal.run("git checkout -qb cambios && git add -A && git commit -qm cambios", work)
                 .status,
             0);
    QVERIFY(testmaps::writeFile(origin + "/quieto.map", water));
    QCOMPARE(terminal.run("git commit -qam quieto && cd ../trabajo && git fetch -q", origin).status,
             0);

    const QString job = readmeBlock(QStringLiteral("bash"), QStringLiteral("BASE_BRANCH"));
    QVERIFY2(!job.isEmpty(), "README.md shows no CI job");
    QVERIFY(testmaps::writeFile(folder.filePath(QStringLiteral("ci.sh")), job.toUtf8()));
    const ProgramRun run = terminal.run("BASE_BRANCH=principal bash ../ci.sh", work);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));

    // Every changed and new map drawn against the merge base, nothing else.
    QStringList drawn;
    QDirIterator pictures(work + "/cambios", QDir::Files, QDirIterator::Subdirectories);
    while (pictures.hasNext())
        drawn << pictures.next().mid(work.size() + 1);
    drawn.sort();
    QCOMPARE(drawn, QStringList({"cambios/-raro.png", "cambios/mapa con espacios.png",
                                 "cambios/montaña.png", "cambios/sub/nuevo.png"}));
    QVERIFY(testmaps::writeFile(folder.filePath("antes.map"), example()));
    const ProgramRun expected =
        terminal.run("quintaraz-map diff --picture ../cambio.png ../antes.map montaña.map; "
                     "quintaraz-map render sub/nuevo.map ../nuevo.png",
                     work);
    QCOMPARE(expected.status, 0);
    for (const char* name : {"-raro", "mapa con espacios", "montaña"})
        QCOMPARE(testmaps::readFile(work + "/cambios/" + QString::fromUtf8(name) + ".png"),
                 testmaps::readFile(folder.filePath("cambio.png")));
    QCOMPARE(testmaps::readFile(work + "/cambios/sub/nuevo.png"),
             testmaps::readFile(folder.filePath("nuevo.png")));
    // What the job said of each change, in its log, and how fair each changed map is: these
    // are not, which only warns unless the job is told to fail.
    QVERIFY2(run.out.contains("- → montaña.map\ncolumna 1, fila 1: Hierba → Agua, 1 casilla\n"),
             qPrintable(run.out));
    QCOMPARE(run.out.count(QStringLiteral("veredicto: desequilibrado")), 4);
    QVERIFY2(run.err.endsWith("aviso: no todos los mapas cambiados están equilibrados\n"),
             qPrintable(run.err));
    const ProgramRun failing =
        terminal.run("BASE_BRANCH=principal BALANCE=fail bash ../ci.sh", work);
    QCOMPARE(failing.status, 1);

    // Once the pull request makes them fair, the strict job passes.
    const QByteArray fair = example([](GameMap& map) {
        const int places[8][2] = {{4, 2}, {12, 2}, {4, 14}, {12, 14},
                                  {2, 4}, {14, 4}, {2, 12}, {14, 12}};
        for (int player = 0; player < playerCount; ++player)
            map.starts[player] =
                GridPoint{std::int16_t(places[player][0]), std::int16_t(places[player][1])};
    });
    for (const char* name : {"mapa con espacios.map", "montaña.map", "-raro.map", "sub/nuevo.map"})
        QVERIFY(testmaps::writeFile(work + u'/' + QString::fromUtf8(name), fair));
    QCOMPARE(terminal.run("git commit -qam justos", work).status, 0);
    const ProgramRun passing =
        terminal.run("BASE_BRANCH=principal BALANCE=fail bash ../ci.sh", work);
    QVERIFY2(passing.status == 0, qPrintable(passing.out + passing.err));
    QCOMPARE(passing.out.count(QStringLiteral("veredicto: equilibrado")), 4);
}

QTEST_GUILESS_MAIN(TestMapsInGit)
#include "tst_mapsingit.moc"
