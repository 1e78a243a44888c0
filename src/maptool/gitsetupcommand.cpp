// git-setup: the settings that make git show maps as text and merge them with the tool,
// written by git itself.

#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "system/boundedread.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "system/systemerror.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <array>

namespace quintaraz {

namespace {

/** A setting of git's configuration. */
struct GitSetting {
    const char* key;
    const char* value;
};

// "--" before the files: git names a file of the working tree as it is, "-raro.map" too.
const std::array<GitSetting, 4> gitSettings{{
    {"diff.quintaraz.textconv", "quintaraz-map grid --"},
    {"merge.quintaraz.name", "mapas de Quintaraz"},
    {"merge.quintaraz.driver", "quintaraz-map merge --name %P -- %O %A %B"},
    // In a criss-cross merge git first merges the two merge bases with this driver too, and
    // ours' value in a conflict there would hide the conflict from the real merge. "binary"
    // takes their own common ancestor instead, so the conflict shows where it belongs.
    {"merge.quintaraz.recursive", "binary"},
}};

constexpr char attributesLine[] = "*.map diff=quintaraz merge=quintaraz";

/** A value as a shell line shows it: quoted when it holds anything but plain characters. */
QString shellWord(const QString& value)
{
    for (const QChar character : value)
        if (!character.isLetterOrNumber() && !QStringLiteral("-_./%=").contains(character))
            return u'\'' + value + u'\'';
    return value;
}

/** What a run of git wrote, or why it failed. */
struct GitRun {
    bool succeeded = false;
    int status = -1; // git's exit status, when it ran to its end
    QByteArray out;
    QString problem;
};

GitRun runGit(const QStringList& arguments)
{
    QProcess git;
    git.start(QStringLiteral("git"), arguments);
    GitRun run;
    if (!git.waitForStarted()) {
        run.problem = QStringLiteral("no se puede ejecutar git: ¿está instalado?");
        return run;
    }
    git.closeWriteChannel();
    if (!git.waitForFinished(120000) || git.exitStatus() != QProcess::NormalExit) {
        run.problem = QStringLiteral("git no terminó");
        return run;
    }
    run.out = git.readAllStandardOutput();
    run.status = git.exitCode();
    run.succeeded = run.status == 0;
    if (!run.succeeded)
        run.problem =
            QStringLiteral("git dice: ") + QString::fromUtf8(git.readAllStandardError()).trimmed();
    return run;
}

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
        if (existing.trimmed() == attributesLine)
            return {true, {}};
    QByteArray bytes = old.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    QString problem;
    if (!writeFileSafely(attributes, bytes + attributesLine + '\n', &problem))
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
    tool.out() << printableName(attributes.shown) << ": " << attributesLine
               << (added.present ? " (ya estaba)\n" : "\n");
    for (const GitSetting& setting : gitSettings) {
        QStringList config{QStringLiteral("config")};
        if (everywhere)
            config << QStringLiteral("--global");
        config << QLatin1String(setting.key) << QLatin1String(setting.value);
        if (const GitRun run = runGit(config); !run.succeeded)
            return tool.fail(QStringLiteral("git"), run.problem);
        tool.out() << "git " << config.mid(0, config.size() - 1).join(u' ') << ' '
                   << shellWord(QLatin1String(setting.value)) << '\n';
    }
    return ExitStatus::Success;
}

} // namespace

extern const CommandEntry gitSetupCommand{
    "git-setup",
    "",
    "Prepara git para mostrar y mezclar mapas.",
    "Prepara git para los mapas en el repositorio de la carpeta actual: añade a "
    ".gitattributes la línea de los mapas y pone en la configuración del repositorio grid "
    "como vista de texto y merge como driver de mezcla. Con --global, para todos los "
    "repositorios del usuario: en su configuración y en su archivo de atributos de git.",
    0,
    0,
    &gitSetup};

} // namespace quintaraz
