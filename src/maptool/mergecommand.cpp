// merge: git's merge driver for maps, cell by cell and player by player.

#include "map/mapreading.h"
#include "map/maptext.h"
#include "maptool/commandparser.h"
#include "maptool/mergereport.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "versions/mapmerge.h"

#include <QFile>

#include <array>

namespace quintaraz {

namespace {

/**
 * Writes a merged map over ours, and its picture first when one is asked for; nothing when
 * the map would not open.
 */
ExitStatus writeMerge(ToolContext& tool, const MapMerge& merged, const QString& ours,
                      const std::optional<QString>& picture)
{
    const QByteArray text = mapText(merged.map);
    // Never a map that the editor would not open, whatever the inputs were.
    if (readMapText(std::string_view(text.constData(), std::size_t(text.size()))).outcome !=
        LoadOutcome::Loaded)
        return tool.trouble(ours,
                            QStringLiteral("la mezcla no daría un mapa válido; no se escribe"));
    // The picture first, then the map: a merge that cannot be written leaves no new picture.
    const bool newPicture = picture && !QFile::exists(*picture);
    if (picture && !tool.writeOutlinedPng(*picture, ours, merged.map, conflictCells(merged)))
        return ExitStatus::Trouble;
    QString problem;
    if (!writeFileSafely(ours, text, &problem)) {
        if (newPicture)
            QFile::remove(*picture);
        return tool.trouble(ours, problem);
    }
    return ExitStatus::Success;
}

/** Says on standard error what a merge could not merge. */
void reportMerge(ToolContext& tool, const MapMerge& merged, const QString& name, bool withoutBase)
{
    if (withoutBase)
        tool.fail(name, QStringLiteral("no hay base común (los dos lados añaden el mapa): cada "
                                       "diferencia es un conflicto"));
    if (merged.extraStartsDropped)
        tool.warn(name, QStringLiteral("lo que seguía al octavo comienzo no se guarda en la "
                                       "mezcla"));
    for (const QString& conflict : conflictLines(merged))
        tool.fail(name, conflict);
}

ExitStatus merge(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption picture = line.option(
        QStringLiteral("picture"),
        QStringLiteral("Dibuja el mapa mezclado con los conflictos enmarcados en amarillo."),
        QStringLiteral("SALIDA.png"));
    const QCommandLineOption name = line.option(
        QStringLiteral("name"),
        QStringLiteral("El nombre del mapa en los mensajes, en lugar de los de los tres archivos "
                       "(git: %P)."),
        QStringLiteral("NOMBRE"));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const QStringList files = line.files();
    const QString ours = files.at(1);
    if (const QString problem = standardInputTwice(files); !problem.isEmpty())
        return line.usageError(problem);
    // git hands the driver temporary files: the map's own name says more.
    const QString mapName = line.isSet(name) ? line.value(name) : ours;
    const std::array<const char*, 3> sides{"base", "nuestro", "suyo"};
    const auto said = [&](std::size_t side) {
        return line.isSet(name) ? QStringLiteral("%1 (%2)").arg(mapName, QLatin1String(sides[side]))
                                : files.at(qsizetype(side));
    };
    // Ours is written, so only a plain file; base and theirs may come from anywhere.
    QByteArray baseBytes;
    std::array readings{readMapFile(files.at(0), InputKinds::AlsoPipes, &baseBytes),
                        readMapFile(ours), readMapFile(files.at(2), InputKinds::AlsoPipes)};
    // git hands an empty base when both sides added the map: they share no ancestor.
    const bool withoutBase = readings[0].fileProblem == FileProblem::None && baseBytes.isEmpty();
    CommandMap maps[3];
    for (std::size_t k = withoutBase ? 1 : 0; k < readings.size(); ++k) {
        const MapInput input{.failure = ExitStatus::Trouble,
                             .name = said(k),
                             .after = QStringLiteral("; no se mezcla")};
        if (maps[k] = tool.loadedMap(std::move(readings[k]), files.at(qsizetype(k)), input);
            !maps[k].map)
            return maps[k].status;
    }
    const MapMerge merged =
        mergeMaps(withoutBase ? nullptr : &*maps[0].map, *maps[1].map, *maps[2].map);
    const std::optional<QString> picturePath =
        line.isSet(picture) ? std::optional(line.value(picture)) : std::nullopt;
    if (const ExitStatus status = writeMerge(tool, merged, ours, picturePath);
        status != ExitStatus::Success)
        return status;
    reportMerge(tool, merged, mapName, withoutBase);
    return merged.conflicts.empty() ? ExitStatus::Success : ExitStatus::Conflicts;
}

} // namespace

extern const CommandEntry mergeCommand{
    "merge",
    "BASE NUESTRO SUYO",
    "Mezcla dos versiones de un mapa para git.",
    "Mezcla dos versiones de un mapa que vienen de BASE, casilla a casilla y jugador a "
    "jugador, y deja el resultado en NUESTRO (el driver de mezcla de git: --name %P -- %O %A "
    "%B). BASE vacía es que no hay base común: cada diferencia es un conflicto. BASE y SUYO "
    "pueden ser tuberías o «-». Sale con 0 si no hay conflictos, con 1 si los hay (NUESTRO "
    "queda como un mapa válido con nuestro valor en cada conflicto, que se nombra en la "
    "salida de errores) y con 2 si un archivo no se puede leer o escribir, sin tocar "
    "NUESTRO.",
    3,
    3,
    &merge};

} // namespace quintaraz
