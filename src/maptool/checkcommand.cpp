// check: whether the editor opens each file, why not and where, and what a game may not expect.

#include "map/mapfilename.h"
#include "map/mapproblems.h"
#include "map/mapreading.h"
#include "map/problemtext.h"
#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"

#include <QJsonArray>

namespace quintaraz {

namespace {

/** What check finds of a file: whether it opens, and why not, or the map and its warnings. */
struct FileCheck {
    bool opens = false;
    QString why{};
    GameMap map{};
    std::vector<MapProblem> warnings{};
};

FileCheck checkFile(const QString& file)
{
    // The name without its folder, as the editor's dialog gives it.
    if (!hasMapExtension(file.mid(file.lastIndexOf(u'/') + 1)))
        return {.why = QStringLiteral("el nombre no termina en .map y el editor no lo abre")};
    MapReading reading = readMapFile(file);
    if (reading.outcome != LoadOutcome::Loaded)
        return {.why = describeReading(reading)};
    const std::vector<MapProblem> warnings = mapProblems(reading.map);
    return {.opens = true, .map = std::move(reading.map), .warnings = warnings};
}

QString checkText(const QString& file, const FileCheck& checked)
{
    if (!checked.opens)
        return printableName(file) + QStringLiteral(": ") + checked.why + u'\n';
    // One string: a collection of maps is mostly lines like this one.
    QString text = printableName(file) + QStringLiteral(": correcto (") +
                   sizeText(checked.map.columns(), checked.map.rows()) +
                   QStringLiteral(", 8 comienzos)\n");
    for (const MapProblem& warning : checked.warnings)
        text += QStringLiteral("  aviso: ") + problemText(warning) + u'\n';
    return text;
}

QJsonObject checkJson(const QString& file, const FileCheck& checked)
{
    QJsonObject report{{QStringLiteral("archivo"), printableName(file)},
                       {QStringLiteral("correcto"), checked.opens}};
    if (!checked.opens) {
        report[QStringLiteral("motivo")] = checked.why;
        return report;
    }
    report[QStringLiteral("columnas")] = checked.map.columns();
    report[QStringLiteral("filas")] = checked.map.rows();
    report[QStringLiteral("avisos")] = problemsJson(checked.warnings);
    return report;
}

ExitStatus check(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption strict = line.flag(
        QStringLiteral("strict"), QStringLiteral("Los avisos también cuentan como fallo."));
    const QCommandLineOption json =
        line.flag(QStringLiteral("json"), QStringLiteral("Lo mismo en JSON, para programas: un "
                                                         "objeto por archivo, una lista si son "
                                                         "varios."));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    ExitStatus status = ExitStatus::Success;
    QJsonArray reports;
    for (const QString& file : line.files()) {
        const FileCheck checked = checkFile(file);
        if (!checked.opens || (line.isSet(strict) && !checked.warnings.empty()))
            status = ExitStatus::Failed;
        if (line.isSet(json))
            reports.append(checkJson(file, checked));
        else
            tool.out() << checkText(file, checked);
    }
    tool.printJson(reports, line.files().size());
    return status;
}

} // namespace

extern const CommandEntry checkCommand{
    "check",
    "ARCHIVO...",
    "Dice si el editor abre cada mapa, y si no, por qué y dónde.",
    "Dice de cada archivo si el editor lo abre y, si no, por qué y dónde; avisa de lo que "
    "un juego puede no esperar. Sale con 0 si todos se abren (con --strict, y sin "
    "avisos), con 1 si no.",
    1,
    -1,
    &check};

} // namespace quintaraz
