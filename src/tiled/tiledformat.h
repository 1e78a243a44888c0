#pragma once

#include "map/gamemap.h"
#include "tiled/gidmapper.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace quintaraz {

/**
 * A map as Tiled, the general tile map editor, holds it: one tile layer "terreno" whose
 * tiles come from the tileset "terrenos" (tile t is terrain t), and one object layer
 * "comienzos" with a tile object from the tileset "jugadores" for each player's start,
 * hanging from the bottom-left corner of its cell as Tiled's tile objects do.
 */
namespace tiled {
inline constexpr int tileSize = 25; // a cell, as the view draws it
inline constexpr char terrainTileset[] = "terrenos";
inline constexpr char playerTileset[] = "jugadores";
inline constexpr char terrainLayer[] = "terreno";
inline constexpr char startLayer[] = "comienzos";
inline constexpr char terrainImage[] = "terrenos.png";
inline constexpr char playerImage[] = "jugadores.png";
inline constexpr char terrainTilesetFile[] = "terrenos.tsx";
inline constexpr char playerTilesetFile[] = "jugadores.tsx";
/**
 * The largest Tiled file read. A 100 by 100 map in the longest form Tiled writes, an XML
 * element a tile, is some 300 KB.
 */
inline constexpr qint64 largestFile = 4 * 1024 * 1024;
} // namespace tiled

/** Tiled's two map formats: XML (.tmx) and JSON (.tmj, or .json). */
enum class TiledFormat { Tmx, Tmj };

/** The format that a file name asks for, by its extension. */
std::optional<TiledFormat> tiledFormatOf(const QString& path);

/**
 * The map, as read from its file, in a Tiled format: with the two tilesets' images named as
 * beside it, or, given the folder of the installed tilesets, with the tilesets in that
 * folder's files. Nothing, and error says which cell, when a terrain has no tile.
 */
QByteArray tiledText(const GameMap& map, TiledFormat format, QString* error,
                     const QString& tilesetFolder = {});

/** What reading a Tiled map came to. */
struct TiledReading {
    QString error; // what is wrong and where, in Spanish, one problem a line; empty when read
    QStringList warnings; // what was read but cannot be kept
    GameMap map;          // when read: the size, every cell's terrain and the eight starts
};

/**
 * Reads a Tiled map, TMX or JSON by its content; at most tiled::largestFile bytes. A map that
 * breaks a rule of the map file (a start outside the map, two on one cell, a hidden or moved
 * layer of ours, painting on another layer) is refused with every such problem; a start on
 * water or rock, and other layers left out, are warnings.
 */
TiledReading readTiledFile(const QString& path);
TiledReading readTiledText(QByteArrayView text);

} // namespace quintaraz
