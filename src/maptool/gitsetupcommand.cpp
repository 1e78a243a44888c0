// git-setup: the settings that make git show maps as text and merge them with the tool,
// written by git itself.

#include "maptool/commandparser.h"
#include "maptool/gitrun.h"
#include "maptool/mapattributes.h"
#include "maptool/toolcontext.h"
#include "system/boundedread.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "system/systemerror.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace quintaraz {

namespace {

/** A setting of git's configuration. */
struct GitSetting {
    const char* key;
    const char* value;
};

// "--" before the files: git names a file of the working tree as it is, "-raro.map" too.
const std::array<GitSetting, 5> gitSettings{{
    {"diff.quintaraz.textconv", "quintaraz-map grid --"},
    // git keeps each version's text in its notes: a second look at many maps starts no tool.
    {"diff.quintaraz.cachetextconv", "true"},
    {"merge.quintaraz.name", "mapas de Quintaraz"},
    {"merge.quintaraz.driver", "quintaraz-map merge --name %P -- %O %A %B"},
    // In a criss-cross merge git first merges the two merge bases with this driver too, and
    // ours' value in a conflict there would hide the conflict from the real merge. "binary"
    // takes their own common ancestor instead, so the conflict shows where it belongs.
    {"merge.quintaraz.recursive", "binary"},
}};

/** The user's own attributes file, where git looks for it when nothing else is set. */
QString userAttributesFile(QString* problem)
{
    const GitRun set =
        runGit({"config", "--global", "--type=path", "--get", "core.attributesFile"});
    if (set.succeeded)
        return fileNameFromBytes(set.out.trimmed());
    // git config ends with 1 for a setting that is not there.
    if (set.status != 1) {
        *problem = set.problem;
        return {};
    }
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString folder =
        config.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : config;
    return folder + QStringLiteral("/git/attributes");
}

/** A step of the set-up: the file it is about and how it is shown, or what went wrong. */
struct SetupStep {
    QString file;
    QString shown;
    QString problem;
};

/** The attributes file to add the maps' line to: the repository's, or the user's own. */
SetupStep attributesFile(bool everywhere)
{
    if (everywhere) {
        QString problem;
        const QString attributes = userAttributesFile(&problem);
        if (attributes.isEmpty())
            return {QStringLiteral("git"), {}, problem};
        if (!QDir().mkpath(QFileInfo(attributes).path()))
            return {
                QFileInfo(attributes).path(), {}, QStringLiteral("no se puede crear la carpeta")};
        return {attributes, attributes, {}};
    }
    const GitRun top = runGit({"rev-parse", "--show-toplevel"});
    // git that does not run at all says nothing about the folder.
    if (top.status < 0)
        return {QStringLiteral("git"), {}, top.problem};
    if (!top.succeeded)
        return {QStringLiteral("git"),
                {},
                QStringLiteral("la carpeta actual no está en un repositorio de git con "
                               "archivos (%1)")
                    .arg(top.problem)};
    return {fileNameFromBytes(top.out.chopped(top.out.endsWith('\n') ? 1 : 0)) +
                QStringLiteral("/.gitattributes"),
            QStringLiteral(".gitattributes"),
            {}};
}

/** Whether the maps' line was in the attributes file already, or why it cannot be added. */
struct LineAdded {
    bool present = false;
    QString problem;
};

/** Adds the maps' line to an attributes file once, after what it holds. */
LineAdded addAttributesLine(const QString& attributes)
{
    const FileBytes old = readFileAtMost(attributes, 1024 * 1024);
    if (old.problem != FileProblem::None &&
        !(old.problem == FileProblem::CannotOpen && old.systemError == ENOENT))
        return {false,
                old.problem == FileProblem::CannotOpen || old.problem == FileProblem::CannotRead
                    ? systemErrorText(old.systemError)
                    : QStringLiteral("no es un archivo normal de menos de 1 MiB")};
    for (const QByteArray& existing : old.bytes.split('\n'))
        if (existing.trimmed() == mapAttributesLine)
            return {true, {}};
    QByteArray bytes = old.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    QString problem;
    if (!writeFileSafely(attributes, bytes + mapAttributesLine + '\n', &problem))
        return {false, problem};
    return {false, {}};
}

ExitStatus gitSetup(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption global =
        line.flag(QStringLiteral("global"),
                  QStringLiteral("Para todos los repositorios del usuario, no solo para este."));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const bool everywhere = line.isSet(global);
    const SetupStep attributes = attributesFile(everywhere);
    if (!attributes.problem.isEmpty())
        return tool.fail(attributes.file, attributes.problem);
    const LineAdded added = addAttributesLine(attributes.file);
    if (!added.problem.isEmpty())
        return tool.fail(attributes.file, added.problem);
    tool.out() << printableName(attributes.shown) << ": " << mapAttributesLine
               << (added.present ? " (ya estaba)\n" : "\n");
    for (const GitSetting& setting : gitSettings) {
        QStringList config{QStringLiteral("config")};
        if (everywhere)
            config << QStringLiteral("--global");
        config << QLatin1String(setting.key) << QLatin1String(setting.value);
        if (const GitRun run = runGit(config); !run.succeeded)
            return tool.fail(QStringLiteral("git"), run.problem);
        tool.out() << "git " << config.mid(0, config.size() - 1).join(u' ') << ' '
                   << shellQuoted(QLatin1String(setting.value)) << '\n';
    }
    // What git applies to maps, which a later line or another file may have decided: in the
    // repository, when there is one.
    const GitRun top = runGit({"rev-parse", "--show-toplevel"});
    if (!top.succeeded)
        return ExitStatus::Success;
    QString problem;
    const QString user = everywhere ? attributes.file : userAttributesFile(&problem);
    const bool applies = mapsHaveTheTool(
        tool, fileNameFromBytes(top.out.chopped(top.out.endsWith('\n') ? 1 : 0)), user);
    return applies ? ExitStatus::Success : ExitStatus::Failed;
}

} // namespace

extern const CommandEntry gitSetupCommand{
    "git-setup",
    "",
    "Prepara git para mostrar y mezclar mapas.",
    "Prepara git para los mapas en el repositorio de la carpeta actual: añade a "
    ".gitattributes la línea de los mapas y pone en la configuración del repositorio grid "
    "como vista de texto y merge como driver de mezcla. Con --global, para todos los "
    "repositorios del usuario: en su configuración y en su archivo de atributos de git. "
    "Hágalo una vez en cada copia del repositorio (git no copia la configuración al clonar), "
    "o una vez con --global. Después pregunta a git (git check-attr) qué da a un mapa de cada "
    "carpeta que tiene mapas: si otra línea gana a la suya (un «*.map binary» posterior, un "
    ".gitattributes en una subcarpeta) o guarda los mapas en Git LFS, nombra ese archivo y "
    "esa línea, no cambia nada que no sea suyo y sale con 1.",
    0,
    0,
    &gitSetup};

} // namespace quintaraz
