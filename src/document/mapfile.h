#pragma once

#include "document/mapdocument.h"

#include <QByteArray>
#include <QString>

#include <string_view>

namespace quintaraz {

/** What opening a map file came to. Only Loaded changes the document. */
enum class LoadOutcome {
    Loaded,       // size, every cell and eight starts taken over
    SizeRejected, // the header's width or height lies outside 16..99
    FormatError,  // a cell, or a coordinate of one of the first eight starts, is not a number
    ReadFailure,  // a missing cell, entry or coordinate; a number too large; a coordinate beyond 99
    NotReadable,  // no file, no "<fin>", or no two 16-bit numbers at its head
};

/**
 * The largest file taken for a map. A map of 100 by 100 cells is at most about 70 KB even
 * with the longest numbers; a larger file is not read at all and counts as not readable.
 */
constexpr qint64 largestMapFile = 1024 * 1024;

/** Reads a map file into the document, all or nothing. */
LoadOutcome loadmap(MapDocument& document, const QString& path);
/** The same for text already in memory. */
LoadOutcome loadmapText(MapDocument& document, std::string_view text);

/**
 * The map as the one line of text that the game reads: header, every cell of the map
 * area row by row, "<fin>", then each player's start in player order as "x y,".
 */
QByteArray mapText(const MapDocument& document);

/**
 * Writes the map to path through a temporary file that replaces the old one only once
 * it is complete. On failure the old file is untouched and error says why.
 */
bool savemap(const MapDocument& document, const QString& path, QString* error = nullptr);

/** Whether a file name without its folder ends in the extension "map", exactly. */
bool hasMapExtension(const QString& fileTitle);

} // namespace quintaraz
