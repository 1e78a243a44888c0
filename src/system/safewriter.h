#pragma once

#include <QByteArrayView>
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
