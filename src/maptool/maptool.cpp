#include "maptool/maptool.h"

#include "maptool/commandentry.h"
#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"

#include <QCoreApplication>

#include <array>

namespace quintaraz {

// Each defined in its own unit, <name>command.cpp. A new command is a new unit and a row here.
extern const CommandEntry checkCommand;
extern const CommandEntry renderCommand;
extern const CommandEntry infoCommand;
extern const CommandEntry thumbnailCommand;
extern const CommandEntry exportCommand;
extern const CommandEntry importCommand;
extern const CommandEntry newCommand;
extern const CommandEntry gridCommand;
extern const CommandEntry diffCommand;
extern const CommandEntry mergeCommand;
extern const CommandEntry conflictsCommand;
extern const CommandEntry balanceCommand;
extern const CommandEntry gitSetupCommand;
extern const CommandEntry generateCommand;
extern const CommandEntry galleryCommand;

namespace {

/** The commands, in the order --help lists them. */
const std::array commands{
    &checkCommand,     &renderCommand,  &infoCommand,     &thumbnailCommand, &exportCommand,
    &importCommand,    &newCommand,     &gridCommand,     &diffCommand,      &mergeCommand,
    &conflictsCommand, &balanceCommand, &gitSetupCommand, &generateCommand,  &galleryCommand,
};

} // namespace

MapTool::MapTool(QTextStream& out, QTextStream& err)
    : out_(out)
    , err_(err)
{
}

int MapTool::run(const QStringList& arguments)
{
    const QString name = arguments.value(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printHelp();
        return int(ExitStatus::Success);
    }
    if (name == QLatin1String("--version")) {
        out_ << "quintaraz-map " << QCoreApplication::applicationVersion() << '\n';
        return int(ExitStatus::Success);
    }
    for (const CommandEntry* command : commands) {
        if (name != QLatin1String(command->name))
            continue;
        ToolContext tool(out_, err_);
        CommandParser line(tool, *command, QStringList{arguments.value(0)} + arguments.mid(2));
        return int(command->run(tool, line));
    }
    return usageError(name.isEmpty()
                          ? QStringLiteral("falta la orden")
                          : QStringLiteral("no hay ninguna orden «%1»").arg(printableName(name)));
}

void MapTool::printHelp()
{
    out_ << "Uso: quintaraz-map ORDEN [opciones] ARCHIVO...\n\n"
            "Comprueba, dibuja y describe mapas de Quintaraz (archivos .map) con el lector y los "
            "dibujos del editor, mide si son justos, los convierte a Tiled y desde Tiled, los "
            "compara y mezcla para git, y hace mapas nuevos.\n\nÓrdenes:\n";
    qsizetype width = 0;
    for (const CommandEntry* command : commands)
        width = std::max(width, qsizetype(qstrlen(command->name)));
    for (const CommandEntry* command : commands)
        out_ << "  " << QString::fromUtf8(command->name).leftJustified(width) << "  "
             << QString::fromUtf8(command->summary) << '\n';
    out_ << "\n«quintaraz-map ORDEN --help» explica cada orden: su uso, sus opciones y su "
            "estado de salida.\n";
}

int MapTool::usageError(const QString& problem)
{
    QStringList names;
    for (const CommandEntry* command : commands)
        names << QLatin1String(command->name);
    err_ << "quintaraz-map: " << problem << "\nUso: quintaraz-map " << names.join(u'|')
         << " ... (véase --help)\n";
    return int(ExitStatus::Usage);
}

} // namespace quintaraz
