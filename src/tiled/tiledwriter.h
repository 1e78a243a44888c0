#pragma once

#include "map/gamemap.h"
#include "tiled/tiledformat.h"

#include <QByteArray>
#include <QString>

namespace quintaraz {

/**
 * The map, as read from its file, in a Tiled format: with the two tilesets' images named as
 * beside it, or, given the folder of the installed tilesets, with the tilesets in that
 * folder's files. Nothing, and error says which cell, when a terrain has no tile.
 */
QByteArray tiledText(const GameMap& map, TiledFormat format, QString* error,
                     const QString& tilesetFolder = {});

} // namespace quintaraz
