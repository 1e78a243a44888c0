#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quintaraz {

/**
 * A file name as the system gives it, as bytes, made a string without losing any: UTF-8 is
 * read as UTF-8, and each byte that is not part of it (a name in Latin-1, "mont\xf1a.map")
 * becomes a lone surrogate U+DC80..U+DCFF, which no UTF-8 text holds. fileNameBytes gives
 * the same bytes back. Qt's own QFile::decodeName turns such bytes into U+FFFD, and the file
 * is then not found.
 */
QString fileNameFromBytes(QByteArrayView bytes);

/** The bytes of a name made by fileNameFromBytes, or of any other name, as UTF-8. */
QByteArray fileNameBytes(const QString& name);

/** Whether a name holds bytes that are not UTF-8, which Qt's files cannot name. */
bool hasForeignBytes(const QString& name);

/**
 * A name as a message shows it, on one line that nothing in the name can forge: control
 * characters as "\n", "\t" or "\x1b", bytes that are not UTF-8 as "\xf1".
 */
QString printableName(const QString& name);

/**
 * A name as one word for bash, to paste into a terminal: as it is when it holds only plain
 * characters, else in single quotes, or as $'...' with the escapes of printableName when it
 * holds control characters or bytes that are not UTF-8, so that it stays on one line.
 */
QString shellQuoted(const QString& name);

} // namespace quintaraz
