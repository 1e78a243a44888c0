#pragma once

#include <QByteArray>
#include <QString>

namespace quintaraz {

/** Why a file could not be read at all. */
enum class FileProblem { None, CannotOpen, NotAPlainFile, TooLarge, CannotRead };

/** What a reader takes besides plain files. */
enum class InputKinds {
    PlainFiles, // a preview, the editor: a name that leads elsewhere may never give a byte
    AlsoPipes,  // what a person names on a command line: a pipe, or "-" for standard input
};

/** A whole file, or why it could not be read. */
struct FileBytes {
    QByteArray bytes; // TooLarge: the file's first bytes, at most largeFileHead of them
    FileProblem problem = FileProblem::None;
    int systemError = 0; // errno, when the file cannot be opened or read
    // TooLarge, read with LargeFiles::HeadAndDigest: the whole file's size and SHA-256.
    qint64 size = -1;
    QByteArray sha256;
};

/** What is kept of a file that is too large. */
enum class LargeFiles {
    HeadOnly,      // its first bytes, no more read
    HeadAndDigest, // its first bytes, and its size and SHA-256, read to its end in pieces
};

/** How much of a file that is too large is kept, to say what it is. */
constexpr qint64 largeFileHead = 4096;

/**
 * Reads a plain file of at most limit bytes, never blocking and never mapped: a file that
 * is not a plain file, or larger, is not read at all. With AlsoPipes, a pipe (one made by
 * the shell, "<(git show HEAD:valle.map)", or one with a name) is read as well, and "-"
 * is standard input, both up to the same limit. The name is passed to the system as the
 * bytes fileNameBytes gives.
 */
FileBytes readFileAtMost(const QString& path, qint64 limit,
                         InputKinds kinds = InputKinds::PlainFiles,
                         LargeFiles large = LargeFiles::HeadOnly);

/**
 * Why a file was not read, in Spanish: "no es un archivo normal", "mide más de 1 MiB y ningún
 * mapa es tan grande" (limit in bytes, and what no file so large is), or the system's reason.
 */
QString fileProblemText(FileProblem problem, int systemError, qint64 limit,
                        const QString& noneSoLarge);

} // namespace quintaraz
