#pragma once

#include <QString>

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

} // namespace quintaraz
