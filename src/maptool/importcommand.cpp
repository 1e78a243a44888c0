// import: a map made in Tiled into the game's file, by the rules the editor saves by.

#include "map/mapfilename.h"
#include "map/maptext.h"
#include "map/problemtext.h"
#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"
#include "tiled/tiledreader.h"

#include <QFileInfo>

namespace quintaraz {

namespace {

ExitStatus importMap(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption json = line.flag(
        QStringLiteral("json"), QStringLiteral("Lo mismo en JSON, para programas: los problemas "
                                               "y los avisos, cada uno con su tipo, su texto, su "
                                               "jugador, su casilla o sus zonas y su capa."));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const QString input = line.files().at(0);
    const QString map = line.files().at(1);
    if (!hasMapExtension(QFileInfo(map).fileName()))
        return line.usageError(QStringLiteral("la salida debe terminar en .map"));
    if (const QString problem = outputProblem(map, input, OutputKind::Map); !problem.isEmpty())
        return tool.fail(map, problem);
    const TiledReading reading = readTiledFile(input);
    if (!line.isSet(json)) {
        for (const MapProblem& problem : reading.problems)
            tool.fail(input, problemText(problem));
        for (const MapProblem& warning : reading.warnings)
            tool.warn(input, problemText(warning));
    }
    QString problem;
    const bool saved = reading.read() && savemap(reading.map, map, &problem);
    if (line.isSet(json))
        tool.printJson(QJsonObject{{QStringLiteral("archivo"), printableName(input)},
                                   {QStringLiteral("salida"), printableName(map)},
                                   {QStringLiteral("guardado"), saved},
                                   {QStringLiteral("problemas"), problemsJson(reading.problems)},
                                   {QStringLiteral("avisos"), problemsJson(reading.warnings)}});
    if (!reading.read())
        return ExitStatus::Failed;
    return saved ? ExitStatus::Success : tool.fail(map, problem);
}

} // namespace

extern const CommandEntry importCommand{
    "import",
    "ENTRADA.tmx|ENTRADA.tmj SALIDA.map",
    "Convierte un mapa de Tiled en un mapa del editor.",
    "Convierte un mapa de Tiled en un mapa del editor, con las mismas reglas con las que "
    "el editor lo guarda; dice qué falta y dónde si no se puede.",
    2,
    2,
    &importMap};

} // namespace quintaraz
