#include "maptool/mapattributes.h"

#include "maptool/gitrun.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"
#include "versions/attributeorigin.h"

#include <QDir>

#include <map>

namespace quintaraz {

namespace {

const QStringList askedAttributes{QStringLiteral("diff"), QStringLiteral("merge"),
                                  QStringLiteral("text"), QStringLiteral("filter")};

/** "path\0attribute\0value\0", as git check-attr -z writes it, by path and attribute. */
using GitAttributes = std::map<QString, std::map<QString, QString>>;

/** Whether git gives a path of a map what the tool needs of it. */
bool toolApplies(const std::map<QString, QString>& values)
{
    return values.at(QStringLiteral("diff")) == QLatin1String("quintaraz") &&
           values.at(QStringLiteral("merge")) == QLatin1String("quintaraz") &&
           values.at(QStringLiteral("filter")) != QLatin1String("lfs");
}

/** The name asked about at the top, for maps still to come. */
const QString newMap = QStringLiteral("nuevo.map");

/**
 * A map in each folder of the work tree that holds maps, tracked or not, and last a name at
 * the top, for maps still to come.
 */
QStringList mapsToAsk(const QByteArray& listed)
{
    std::map<QString, QString> byFolder;
    for (const QByteArray& bytes : listed.split('\0')) {
        if (bytes.isEmpty())
            continue;
        const QString path = fileNameFromBytes(bytes);
        byFolder.emplace(path.left(path.lastIndexOf(u'/') + 1), path);
    }
    QStringList paths;
    for (const auto& [folder, path] : byFolder)
        paths << path;
    if (!byFolder.contains(QString()))
        paths << newMap;
    return paths;
}

/** What a line takes from maps, in words: "el mezclador de mapas", ... */
QString takenAway(const std::map<QString, QString>& values)
{
    const bool diff = values.contains(QStringLiteral("diff"));
    const bool merge = values.contains(QStringLiteral("merge"));
    if (diff && merge)
        return QStringLiteral("la vista de texto y el mezclador de mapas");
    return diff ? QStringLiteral("la vista de texto de los mapas")
                : QStringLiteral("el mezclador de mapas");
}

/** "diff: unset, merge: unset", as git check-attr says them. */
QString gitSays(const std::map<QString, QString>& values)
{
    QStringList said;
    for (const QString& attribute : askedAttributes)
        if (const auto value = values.find(attribute); value != values.end())
            said << attribute + QStringLiteral(": ") + value->second;
    return QStringLiteral("git check-attr: ") + said.join(QStringLiteral(", "));
}

/** A line that decides wrong for some maps: what it decides, and for which maps. */
struct Overriding {
    AttributeLine line;
    std::map<QString, QString> values;
    QStringList paths;
};

QString overridingText(const Overriding& found)
{
    // The maps in words: the first one, and how many folders more.
    QString maps = found.paths.first() == newMap
                       ? QStringLiteral("los mapas nuevos de la carpeta principal")
                       : printableName(found.paths.first());
    if (found.paths.size() == 2)
        maps += QStringLiteral(" y los mapas de otra carpeta");
    else if (found.paths.size() > 2)
        maps += QStringLiteral(" y los mapas de otras %1 carpetas").arg(found.paths.size() - 1);
    const QString line = QStringLiteral("«%1»").arg(printableName(found.line.text));
    if (found.values.contains(QStringLiteral("filter")))
        return QStringLiteral(
                   "%1 guarda %2 en Git LFS, que deja en el repositorio punteros que ninguna "
                   "mezcla casilla a casilla puede leer (%3); los mapas son texto pequeño: "
                   "saque los mapas de LFS con git lfs untrack %4 (o quite filter=lfs de esa "
                   "línea) y git add --renormalize -- '*.map', y confirme el cambio")
            .arg(line, maps, gitSays(found.values),
                 shellQuoted(found.line.text.section(u' ', 0, 0, QString::SectionSkipEmpty)));
    return QStringLiteral("%1 quita %2 a %3 (%4); git-setup no cambia líneas que no son suyas: "
                          "quite esa línea, o añada tras ella, en el mismo archivo, «%5»")
        .arg(line, takenAway(found.values), maps, gitSays(found.values),
             QLatin1String(mapAttributesLine));
}

/** Where git reads attributes besides the work tree. */
AttributePlaces attributePlaces(const QString& top, const QString& userAttributes)
{
    AttributePlaces places{{}, userAttributes, {}};
    const GitRun info = runGit({"rev-parse", "--git-path", "info/attributes"}, top);
    if (info.succeeded) {
        places.info = fileNameFromBytes(info.out.trimmed());
        if (QDir::isRelativePath(places.info))
            places.info = top + u'/' + places.info;
    }
    if (qEnvironmentVariableIsEmpty("GIT_ATTR_NOSYSTEM"))
        places.system = QStringLiteral("/etc/gitattributes");
    return places;
}

} // namespace

bool mapsHaveTheTool(ToolContext& tool, const QString& top, const QString& userAttributes)
{
    const GitRun listed = runGit(
        {"ls-files", "-z", "--cached", "--others", "--exclude-standard", "--", "*.map"}, top);
    if (!listed.succeeded)
        return tool.fail(QStringLiteral("git"), listed.problem), false;
    const QStringList paths = mapsToAsk(listed.out);
    QByteArray input;
    for (const QString& path : paths)
        input += fileNameBytes(path) + '\0';
    QStringList asked{"check-attr", "--stdin", "-z"};
    const GitRun said = runGit(asked + askedAttributes, top, input);
    if (!said.succeeded)
        return tool.fail(QStringLiteral("git"), said.problem), false;
    GitAttributes attributes;
    const QList<QByteArray> words = said.out.split('\0');
    for (qsizetype k = 0; k + 2 < words.size(); k += 3)
        attributes[fileNameFromBytes(words[k])][QString::fromUtf8(words[k + 1])] =
            QString::fromUtf8(words[k + 2]);

    const AttributePlaces places = attributePlaces(top, userAttributes);
    std::map<std::pair<QString, int>, Overriding> overriding;
    bool applies = true;
    for (const QString& path : paths) {
        const std::map<QString, QString>& values = attributes[path];
        if (values.size() != std::size_t(askedAttributes.size()) || toolApplies(values))
            continue;
        applies = false;
        const std::map<QString, AttributeOrigin> origins =
            attributeOrigins(attributesFilesFor(top, places, path), path, askedAttributes);
        for (const auto& [attribute, value] : values) {
            const bool wrong =
                attribute == QLatin1String("filter")
                    ? value == QLatin1String("lfs")
                    : attribute != QLatin1String("text") && value != QLatin1String("quintaraz");
            if (!wrong)
                continue;
            const AttributeOrigin& origin = origins.at(attribute);
            // Only a line whose value is git's own is named: git has the last word.
            if (!origin.line || origin.value != value) {
                tool.fail(path, QStringLiteral("%1, y no se encuentra la línea que lo decide: "
                                               "véase git check-attr -a -- %2")
                                    .arg(gitSays({{attribute, value}}), shellQuoted(path)));
                continue;
            }
            Overriding& found = overriding[{origin.line->file, origin.line->number}];
            found.line = *origin.line;
            found.values[attribute] = value;
            if (!found.paths.contains(path))
                found.paths << path;
        }
    }
    for (const auto& [where, found] : overriding)
        tool.fail(QStringLiteral("%1:%2").arg(where.first).arg(where.second),
                  overridingText(found));
    return applies;
}

} // namespace quintaraz
