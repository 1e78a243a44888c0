#include "versions/attributeorigin.h"

#include "system/boundedread.h"

#include <QRegularExpression>

#include <set>

namespace quintaraz {

namespace {

/** An attribute as a word of a line gives it: "-diff" unset, "!diff", "diff=x", "diff". */
struct AttributeState {
    QString name;
    QString value;
};

/** A line of an attributes file that says something: a pattern, or a macro, and its words. */
struct PatternLine {
    int number = 0;
    QString text;
    QString pattern; // for a macro, its name
    bool macro = false;
    std::vector<AttributeState> states;
};

AttributeState stateOf(const QString& word)
{
    if (word.startsWith(u'-'))
        return {word.mid(1), QStringLiteral("unset")};
    if (word.startsWith(u'!'))
        return {word.mid(1), QStringLiteral("unspecified")};
    if (const qsizetype equals = word.indexOf(u'='); equals > 0)
        return {word.left(equals), word.mid(equals + 1)};
    return {word, QStringLiteral("set")};
}

/** A pattern written in double quotes, as git writes odd names: C's escapes. */
QString unquoted(const QString& line, qsizetype& end)
{
    QByteArray bytes;
    for (end = 1; end < line.size() && line[end] != u'"'; ++end) {
        if (line[end] != u'\\' || end + 1 == line.size()) {
            bytes += line[end].unicode() < 0x80 ? QByteArray(1, char(line[end].unicode()))
                                                : QString(line[end]).toUtf8();
            continue;
        }
        const QChar escaped = line[++end];
        if (escaped >= u'0' && escaped <= u'7') {
            const int octal = line.mid(end, 3).toInt(nullptr, 8);
            end += 2;
            bytes += char(octal);
            continue;
        }
        static const QString plain = QStringLiteral("abtnvfr");
        const qsizetype control = plain.indexOf(escaped);
        bytes += control >= 0 ? "\a\b\t\n\v\f\r"[control] : char(escaped.unicode());
    }
    ++end;
    return QString::fromUtf8(bytes);
}

std::vector<PatternLine> patternLines(const AttributesFile& file)
{
    std::vector<PatternLine> lines;
    const QStringList texts = QString::fromUtf8(file.text).split(u'\n');
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\r]+"));
    for (qsizetype k = 0; k < texts.size(); ++k) {
        const QString text = texts[k].trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        PatternLine line{int(k) + 1, texts[k].trimmed(), {}, false, {}};
        qsizetype end = 0;
        if (text.startsWith(u'"')) {
            line.pattern = unquoted(text, end);
        } else {
            end = text.indexOf(blanks);
            end = end < 0 ? text.size() : end;
            line.pattern = text.left(end);
        }
        for (const QString& word : text.mid(end).split(blanks, Qt::SkipEmptyParts))
            line.states.push_back(stateOf(word));
        if (line.pattern.startsWith(QStringLiteral("[attr]"))) {
            // Macros are taken only from the files at the top, as git takes them.
            if (!file.macros)
                continue;
            line.macro = true;
            line.pattern = line.pattern.mid(6);
        } else if (line.pattern.startsWith(u'!')) {
            continue; // git refuses negative patterns in attributes
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

/** A bracket expression of a pattern from at, which never matches "/", as a regular one. */
QString bracketExpression(const QString& pattern, qsizetype& at)
{
    qsizetype end = at + 1;
    if (end < pattern.size() && (pattern[end] == u'!' || pattern[end] == u'^'))
        ++end;
    if (end < pattern.size() && pattern[end] == u']')
        ++end;
    while (end < pattern.size() && pattern[end] != u']')
        ++end;
    if (end >= pattern.size()) // no closing bracket: a plain "["
        return QStringLiteral("\\[");
    QString inside = pattern.mid(at + 1, end - at - 1);
    QString expression = QStringLiteral("(?!/)[");
    if (inside.startsWith(u'!') || inside.startsWith(u'^')) {
        expression += u'^';
        inside.remove(0, 1);
    }
    expression += inside.replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
                      .replace(QStringLiteral("["), QStringLiteral("\\["))
                      .replace(QStringLiteral("]"), QStringLiteral("\\]")) +
                  u']';
    at = end;
    return expression;
}

/**
 * A wildcard pattern as git's wildmatch reads it, as a regular expression: with pathname,
 * "*" and "?" stop at "/", "**" between slashes spans folders.
 */
QRegularExpression wildcard(const QString& pattern, bool pathname)
{
    const QString one = pathname ? QStringLiteral("[^/]") : QStringLiteral(".");
    QString expression;
    for (qsizetype at = 0; at < pattern.size(); ++at) {
        const QChar character = pattern[at];
        const bool twoStars = pathname && pattern.mid(at, 2) == QStringLiteral("**");
        if (twoStars && (at == 0 || pattern[at - 1] == u'/') &&
            (at + 2 == pattern.size() || pattern[at + 2] == u'/')) {
            const bool last = at + 2 == pattern.size();
            expression += last ? QStringLiteral(".*") : QStringLiteral("(?:.*/)?");
            at += last ? 1 : 2;
        } else if (character == u'*') {
            expression += one + u'*';
            at += twoStars ? 1 : 0;
        } else if (character == u'?') {
            expression += one;
        } else if (character == u'[') {
            expression += bracketExpression(pattern, at);
        } else if (character == u'\\' && at + 1 < pattern.size()) {
            expression += QRegularExpression::escape(QString(pattern[++at]));
        } else {
            expression += QRegularExpression::escape(QString(character));
        }
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::DotMatchesEverythingOption);
}

/** Whether a pattern of a file matches a path below the file's folder, as git matches it. */
bool patternMatches(QString pattern, const QString& path)
{
    // A pattern for folders only never names a file, and attributes only go to files.
    if (pattern.endsWith(u'/'))
        return false;
    if (!pattern.contains(u'/'))
        return wildcard(pattern, false).match(path.section(u'/', -1)).hasMatch();
    if (pattern.startsWith(u'/'))
        pattern.remove(0, 1);
    return wildcard(pattern, true).match(path).hasMatch();
}

using Macros = std::map<QString, const PatternLine*>;

/** Gives each attribute of a line that no line before decided its value, macros too. */
void fill(const std::vector<AttributeState>& states, const AttributeLine& line,
          const Macros& macros, std::map<QString, AttributeOrigin>& decided)
{
    for (auto state = states.rbegin(); state != states.rend(); ++state) {
        if (decided.contains(state->name))
            continue;
        decided[state->name] = {state->value, line};
        if (state->value != QLatin1String("set"))
            continue;
        if (const auto macro = macros.find(state->name); macro != macros.end())
            fill(macro->second->states, line, macros, decided);
    }
}

} // namespace

std::vector<AttributesFile> attributesFilesFor(const QString& top, const AttributePlaces& places,
                                               const QString& path)
{
    std::vector<AttributesFile> files;
    const auto add = [&](const QString& file, const QString& shown, const QString& folder,
                         bool macros) {
        if (file.isEmpty())
            return;
        // An attributes file is small; git itself reads at most 100 MB of one.
        const FileBytes read = readFileAtMost(file, 100 * 1024 * 1024);
        if (read.problem == FileProblem::None)
            files.push_back({shown, folder, read.bytes, macros});
    };
    const auto inTree = [&](const QString& file) {
        return file.startsWith(top + u'/') ? file.mid(top.size() + 1) : file;
    };
    add(places.info, inTree(places.info), {}, true);
    // The path's own folder first, then each folder above it, the top last.
    for (qsizetype slash = path.lastIndexOf(u'/'); slash >= 0;
         slash = slash == 0 ? -1 : path.lastIndexOf(u'/', slash - 1)) {
        const QString folder = path.left(slash + 1);
        add(top + u'/' + folder + QStringLiteral(".gitattributes"),
            folder + QStringLiteral(".gitattributes"), folder, false);
    }
    add(top + QStringLiteral("/.gitattributes"), QStringLiteral(".gitattributes"), {}, true);
    add(places.user, places.user, {}, true);
    add(places.system, places.system, {}, true);
    return files;
}

std::map<QString, AttributeOrigin> attributeOrigins(const std::vector<AttributesFile>& files,
                                                    const QString& path,
                                                    const QStringList& attributes)
{
    std::vector<std::vector<PatternLine>> lines;
    for (const AttributesFile& file : files)
        lines.push_back(patternLines(file));
    // The first definition of a macro, in the order lines are decided, is the one git keeps;
    // binary is git's own, below every file.
    static const PatternLine binary{0,
                                    {},
                                    QStringLiteral("binary"),
                                    true,
                                    {stateOf("-diff"), stateOf("-merge"), stateOf("-text")}};
    Macros macros;
    for (const std::vector<PatternLine>& fileLines : lines)
        for (auto line = fileLines.rbegin(); line != fileLines.rend(); ++line)
            if (line->macro && !macros.contains(line->pattern))
                macros[line->pattern] = &*line;
    if (!macros.contains(binary.pattern))
        macros[binary.pattern] = &binary;

    std::map<QString, AttributeOrigin> decided;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const AttributesFile& file = files[k];
        if (!path.startsWith(file.folder))
            continue;
        const QString below = path.mid(file.folder.size());
        for (auto line = lines[k].rbegin(); line != lines[k].rend(); ++line)
            if (!line->macro && patternMatches(line->pattern, below))
                fill(line->states, {file.shown, line->number, line->text}, macros, decided);
    }
    std::map<QString, AttributeOrigin> asked;
    for (const QString& attribute : attributes)
        asked[attribute] = decided.contains(attribute) ? decided[attribute] : AttributeOrigin{};
    return asked;
}

} // namespace quintaraz
