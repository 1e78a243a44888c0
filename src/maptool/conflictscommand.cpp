// conflicts: the conflicts of maps that a merge left unresolved, again, from the three versions
// git keeps of each.

#include "map/mapreading.h"
#include "maptool/commandparser.h"
#include "maptool/gitrun.h"
#include "maptool/mergereport.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"
#include "versions/mapmerge.h"

#include <QDir>

#include <array>
#include <map>

namespace quintaraz {

namespace {

/** The versions git keeps of an unresolved file, by stage: 1 the base, 2 ours, 3 theirs. */
using Stages = std::array<QByteArray, 4>; // the objects' names; stage 0 is never unresolved

/** "mode object stage\tpath\0", as git ls-files -u -z lists them, by path. */
std::map<QString, Stages> unresolvedFiles(const QByteArray& listed)
{
    std::map<QString, Stages> files;
    for (const QByteArray& entry : listed.split('\0')) {
        const qsizetype tab = entry.indexOf('\t');
        const QList<QByteArray> fields = entry.left(tab).split(' ');
        if (tab < 0 || fields.size() != 3)
            continue;
        const int stage = fields[2].toInt();
        if (stage >= 1 && stage <= 3)
            files[fileNameFromBytes(entry.mid(tab + 1))][std::size_t(stage)] = fields[1];
    }
    return files;
}

/** One version of a map, from git's objects, read as the editor reads a file. */
MapReading readVersion(const QByteArray& object, QString* problem)
{
    const GitRun blob =
        runGit({QStringLiteral("cat-file"), QStringLiteral("blob"), QString::fromLatin1(object)});
    if (!blob.succeeded) {
        *problem = blob.problem;
        return {};
    }
    FileBytes file;
    file.bytes = blob.out;
    if (file.bytes.size() > largestMapFile) {
        file.problem = FileProblem::TooLarge;
        file.bytes.truncate(largeFileHead);
    }
    return readMapBytes(file);
}

/** Lists again the conflicts of one map; its picture too when asked. */
ExitStatus listConflicts(ToolContext& tool, const QString& path, const Stages& stages,
                         const std::optional<QString>& picture)
{
    if (stages[2].isEmpty() || stages[3].isEmpty())
        return tool.trouble(path, QStringLiteral("un lado borró el mapa y el otro lo cambió: "
                                                 "git checkout --ours o --theirs -- %1 toma uno, "
                                                 "git rm -- %1 lo borra")
                                      .arg(shellQuoted(path)));
    const bool withoutBase = stages[1].isEmpty();
    static const std::array<const char*, 3> sides{":1:, base", ":2:, nuestro", ":3:, suyo"};
    std::array<CommandMap, 3> maps;
    for (std::size_t k = withoutBase ? 1 : 0; k < maps.size(); ++k) {
        QString problem;
        MapReading reading = readVersion(stages[k + 1], &problem);
        if (!problem.isEmpty())
            return tool.trouble(QStringLiteral("git"), problem);
        const MapInput input{.failure = ExitStatus::Trouble,
                             .name = QStringLiteral("%1 (%2)").arg(path, QLatin1String(sides[k])),
                             .after = QStringLiteral("; no se mezcla")};
        if (maps[k] = tool.loadedMap(std::move(reading), path, input); !maps[k].map)
            return maps[k].status;
    }
    const MapMerge merged =
        mergeMaps(withoutBase ? nullptr : &*maps[0].map, *maps[1].map, *maps[2].map);
    if (picture && !tool.writeOutlinedPng(*picture, path, merged.map, conflictCells(merged)))
        return ExitStatus::Trouble;
    const QString name = printableName(path);
    if (withoutBase)
        tool.out() << name << ": no hay base común (los dos lados añaden el mapa): cada "
                   << "diferencia es un conflicto\n";
    const QStringList lines = conflictLines(merged);
    // Unresolved, and yet without a conflict: git merged it without the driver.
    if (lines.isEmpty())
        tool.out() << name
                   << ": sin conflictos casilla a casilla; git no usó el mezclador de mapas: "
                      "quintaraz-map git-setup y después git checkout -m -- "
                   << shellQuoted(path) << '\n';
    for (const QString& line : lines)
        tool.out() << name << ": " << line << '\n';
    return lines.isEmpty() ? ExitStatus::Success : ExitStatus::Conflicts;
}

ExitStatus conflicts(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption picture = line.option(
        QStringLiteral("picture"),
        QStringLiteral("Dibuja el mapa mezclado, como merge, con los conflictos enmarcados en "
                       "amarillo; para un solo mapa."),
        QStringLiteral("SALIDA.png"));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const QStringList named = line.files();
    const GitRun listed = runGit(QStringList{"ls-files", "-u", "-z", "--"} +
                                 (named.isEmpty() ? QStringList{QStringLiteral("*.map")} : named));
    // git that does not run at all says nothing about the folder.
    if (listed.status > 0)
        return tool.trouble(QStringLiteral("git"),
                            QStringLiteral("la carpeta actual no está en un repositorio de git "
                                           "con archivos (%1)")
                                .arg(listed.problem));
    if (!listed.succeeded)
        return tool.trouble(QStringLiteral("git"), listed.problem);
    const std::map<QString, Stages> files = unresolvedFiles(listed.out);
    for (const QString& file : named)
        if (!files.contains(QDir::cleanPath(file)))
            return tool.trouble(file, QStringLiteral("git no tiene conflictos sin resolver en "
                                                     "este archivo"));
    if (line.isSet(picture) && files.size() != 1)
        return line.usageError(QStringLiteral("--picture dibuja un solo mapa: nombre uno"));
    if (files.empty())
        tool.out() << "ningún mapa tiene conflictos sin resolver\n";
    ExitStatus status = ExitStatus::Success;
    for (const auto& [path, stages] : files) {
        const ExitStatus one =
            listConflicts(tool, path, stages,
                          line.isSet(picture) ? std::optional(line.value(picture)) : std::nullopt);
        if (one != ExitStatus::Success && status != ExitStatus::Trouble)
            status = one;
    }
    return status;
}

} // namespace

extern const CommandEntry conflictsCommand{
    "conflicts",
    "ARCHIVO...",
    "Los conflictos de una mezcla sin resolver, otra vez.",
    "Mientras git tiene mapas sin resolver (tras git merge, pull, rebase o cherry-pick), "
    "vuelve a decir sus conflictos como los dijo merge, desde las tres versiones que git "
    "guarda de cada uno: :1: la base, :2: la nuestra, :3: la suya. Con --picture dibuja el "
    "mapa mezclado con los conflictos enmarcados en amarillo. Sin ARCHIVO, todos los mapas sin "
    "resolver. Sale con 0 si no queda ningún conflicto casilla a casilla, con 1 si quedan y con "
    "2 si git no responde, un archivo nombrado no está sin resolver o una versión no es un "
    "mapa.",
    0,
    -1,
    &conflicts};

} // namespace quintaraz
