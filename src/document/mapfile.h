#pragma once

#include "document/mapdocument.h"
#include "document/mapreading.h"

#include <QByteArray>
#include <QString>

#include <string_view>

namespace quintaraz {

/** Reads a map file into the document, all or nothing. */
LoadOutcome loadmap(MapDocument& document, const QString& path);
/** The same for text already in memory. */
LoadOutcome loadmapText(MapDocument& document, std::string_view text);

/**
 * The map as the one line of text that the game reads: header, every cell of the map
 * area row by row, "<fin>", then each player's start in player order as "x y,".
 */
QByteArray mapText(const MapDocument& document);
/** The same for a map as read from a file, or from Tiled: all eight starts, wherever they are. */
QByteArray mapText(const MapReading& map);

/**
 * Writes the map to path with the safe writer: the old file is replaced only by a whole
 * map, and on failure it is untouched and error says why.
 */
bool savemap(const MapDocument& document, const QString& path, QString* error = nullptr);
bool savemap(const MapReading& map, const QString& path, QString* error = nullptr);

/** Whether a file name without its folder ends in the extension "map", exactly. */
bool hasMapExtension(const QString& fileTitle);

} // namespace quintaraz
