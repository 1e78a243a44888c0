#pragma once

#include "editor/mapdocument.h"
#include "map/mapreading.h"
#include "map/maptext.h"

#include <QByteArray>
#include <QString>

#include <string_view>

namespace quintaraz {

/** Reads a map file into the document, all or nothing. */
LoadOutcome loadmap(MapDocument& document, const QString& path);
/** The same for text already in memory. */
LoadOutcome loadmapText(MapDocument& document, std::string_view text);

/** The document's map as the one line of text that the game reads; see MapDocument::map. */
QByteArray mapText(const MapDocument& document);

/**
 * Writes the document's map to path with the safe writer: the old file is replaced only
 * by a whole map, and on failure it is untouched and error says why.
 */
bool savemap(const MapDocument& document, const QString& path, QString* error = nullptr);

/** Whether a file name without its folder ends in the extension "map", exactly. */
bool hasMapExtension(const QString& fileTitle);

} // namespace quintaraz
