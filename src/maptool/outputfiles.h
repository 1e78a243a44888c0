#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quintaraz {

/** What an output of the tool is, and so what it may write over. */
enum class OutputKind { Picture, Map };

/**
 * Why the tool must not write output, made from input, or nothing. An output never
 * replaces its own input, nor anything but a plain file that is empty or of its own
 * kind: a picture replaces a PNG, a map a map.
 */
QString outputProblem(const QString& output, const QString& input, OutputKind kind);

/** A file that one command writes together with others. */
struct PlannedFile {
    QString path;
    QByteArray bytes;
    bool unchanged = false; // it holds those bytes already, and is left as it is
};

/**
 * Why a file of an export must not be written, or nothing; sets file.unchanged when it holds
 * what would be written. A file that exists is replaced only when force is set, and never
 * when it is the input or anything but a plain file: it may be a person's work.
 */
QString exportProblem(PlannedFile& file, const QString& input, bool force);

/**
 * Writes the files that are not unchanged through the safe writer, all or none. On failure,
 * failed names the file and error says why.
 */
bool writeAllOrNone(const QList<PlannedFile>& files, QString* failed, QString* error);

/**
 * The folder of the tilesets installed for Tiled, found from the running program
 * (BIN/../share/quintaraz-editor/tiled), when both tilesets and their pictures are there;
 * nothing otherwise (a bare build). The environment's QUINTARAZ_TILED_TILESETS names another
 * folder, or none when empty.
 */
QString installedTilesets();

/** How hard a PNG's pixels are compressed. */
enum class PngCompression {
    Small, // zlib's default level: the size of a large picture matters more than the time
    Fast,  // zlib's fastest level: for a small picture wanted at once, such as a preview
};

/**
 * The image as PNG, in memory; nothing when it could not be encoded. An 8-bit image keeps
 * its palette, one byte a pixel.
 */
QByteArray encodePng(const QImage& image, PngCompression compression = PngCompression::Small);

} // namespace quintaraz
