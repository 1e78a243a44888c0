#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace quintaraz {

/** What the editor is asked for on its command line: quintaraz-editor [archivo]. */
struct EditorCommandLine {
    QString file;                  // the map to open once the window shows, as a full path; or none
    std::optional<int> exitStatus; // when set, all is said (help, version, a usage error): end
};

/**
 * Reads the editor's arguments (the program's name first). --help and --version print to
 * out and end with 0; an unknown option or a second file prints the reason and the usage
 * line to err and ends with 2. A relative file is taken from the working folder. The
 * toolkit's options (-platform, -reverse, ...) are let through for it; every word after
 * "--" is a file.
 */
EditorCommandLine readEditorCommandLine(const QStringList& arguments, QTextStream& out,
                                        QTextStream& err);

} // namespace quintaraz
