// info: a map's size, its terrain and its starts.

#include "maptool/commandparser.h"
#include "maptool/mapreport.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"

namespace quintaraz {

namespace {

ExitStatus info(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption json =
        line.flag(QStringLiteral("json"), QStringLiteral("Lo mismo en JSON, para programas."));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const QString file = line.files().at(0);
    const CommandMap read = tool.readMap(file);
    if (!read.map)
        return read.status;
    if (line.isSet(json))
        tool.printJson(mapReportJson(printableName(file), *read.map));
    else
        tool.out() << mapReport(printableName(file), *read.map);
    return ExitStatus::Success;
}

} // namespace

extern const CommandEntry infoCommand{
    "info",
    "ARCHIVO",
    "Muestra el tamaño, el terreno y los comienzos de un mapa.",
    "Muestra el tamaño, cuántas casillas hay de cada terreno y dónde comienza cada jugador.",
    1,
    1,
    &info};

} // namespace quintaraz
