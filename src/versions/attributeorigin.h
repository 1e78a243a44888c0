#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace quintaraz {

/** An attributes file of git's, as git reads it for the paths of one repository. */
struct AttributesFile {
    QString shown;       // how messages name it: ".gitattributes", "sub/.gitattributes", ...
    QString folder = {}; // the folder of the work tree its patterns start from: "", "sub/"
    QByteArray text = {};
    bool macros = true; // whether it may define macros ("[attr]"): not in a subfolder
};

/** A line of an attributes file. */
struct AttributeLine {
    QString file; // as the file is shown
    int number = 0;
    QString text;

    friend bool operator==(const AttributeLine&, const AttributeLine&) = default;
};

/** An attribute's value for a path, as git check-attr says it, and the line that gave it. */
struct AttributeOrigin {
    QString value = QStringLiteral("unspecified"); // "set", "unset", "unspecified" or the value
    std::optional<AttributeLine> line{};
};

/** Where git looks for attributes besides the work tree's .gitattributes files. */
struct AttributePlaces {
    QString info;   // $GIT_DIR/info/attributes
    QString user;   // core.attributesFile, or git's attributes file in the user's folder
    QString system; // the system's, or nothing when git is told to leave it out
};

/**
 * The attributes files git reads for path (relative to the top of the work tree top), read
 * from the disk, from the highest precedence to the lowest; files that are not there are
 * left out. Those in the work tree are shown by their path in it.
 */
std::vector<AttributesFile> attributesFilesFor(const QString& top, const AttributePlaces& places,
                                               const QString& path);

/**
 * The value each of attributes takes for path (relative to the top of the work tree), and
 * the line that decides it, as git decides: files given from the highest precedence to the
 * lowest ($GIT_DIR/info/attributes, the .gitattributes of the path's folder and of each
 * folder above it, the user's, the system's), in each file the last line whose pattern
 * matches, in a line the last word that names the attribute or a macro ("binary") that
 * sets it.
 */
std::map<QString, AttributeOrigin> attributeOrigins(const std::vector<AttributesFile>& files,
                                                    const QString& path,
                                                    const QStringList& attributes);

} // namespace quintaraz
