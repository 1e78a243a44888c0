#pragma once

#include <QByteArray>
#include <QString>

namespace quintaraz {

/** Why a file could not be read at all. */
enum class FileProblem { None, CannotOpen, NotAPlainFile, TooLarge, CannotRead };

/** A whole file, or why it could not be read. */
struct FileBytes {
    QByteArray bytes;
    FileProblem problem = FileProblem::None;
    int systemError = 0; // errno, when the file cannot be opened or read
};

/**
 * Reads a plain file of at most limit bytes, never blocking and never mapped: a file that
 * is not a plain file, or larger, is not read at all.
 */
FileBytes readFileAtMost(const QString& path, qint64 limit);

} // namespace quintaraz
