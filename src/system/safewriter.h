#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quintaraz {

/**
 * The one way our programs write a file. The new file takes the old one's place only once
 * every byte of it is on the disk, with the old file's owner, group and mode where this
 * process may set them; until then, and on any failure, the old file stays as it was. A
 * name that leads to anything but a plain file (a folder, a device, a pipe) is never
 * written. On failure, error says why, in Spanish.
 */
[[nodiscard]] bool writeFileSafely(const QString& path, QByteArrayView bytes, QString* error);

/** One of several files that are written together. */
struct FileToWrite {
    QString path;
    QByteArrayView bytes;
};

/**
 * Writes the files as writeFileSafely does, all or none: every one is written to the disk
 * beside its place before any takes it, so a failure while writing leaves every old file as
 * it was and no new one. On failure, failed is the index of the file that failed and error
 * says why, in Spanish.
 */
[[nodiscard]] bool writeFilesSafely(const QList<FileToWrite>& files, qsizetype* failed,
                                    QString* error);

/**
 * Writes into the file at path itself, truncated first, or a new file there: for a caller
 * that made the file and holds it open to read what it holds afterwards, as a file
 * manager's preview service does. Refuses, without writing, anything but a plain file; a
 * file that it made itself is removed again when the write fails.
 */
[[nodiscard]] bool writeFileInPlace(const QString& path, QByteArrayView bytes, QString* error);

/** The reason given for a name that leads to anything but a plain file. */
QString notAPlainFileText(const QString& path);

} // namespace quintaraz
