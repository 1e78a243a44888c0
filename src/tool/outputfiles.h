#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quintaraz {

/** What an output of the tool is, and so what it may write over. */
enum class OutputKind { Picture, TiledMap, Map };

/**
 * Why the tool must not write output, made from input, or nothing. An output never
 * replaces its own input, nor anything but a plain file that is empty or of its own
 * kind: a picture replaces a PNG, a Tiled map a TMX or JSON file, a map a map.
 */
QString outputProblem(const QString& output, const QString& input, OutputKind kind);

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
