#pragma once

#include "map/gamemap.h"

#include <QtGlobal>

/**
 * Tile numbers of Tiled's maps, all their arithmetic in one place: a number names a tile
 * of a tileset counted from the tileset's first number; the four highest bits flip or
 * rotate the tile. The maps written here number the terrains from 1, then the players.
 */
namespace quintaraz::tiled {

inline constexpr quint32 terrainFirstGid = 1;
inline constexpr quint32 playerFirstGid = terrainFirstGid + terrainCount;

inline constexpr quint32 flipBits = 0xF0000000u;

/** The tile that a number as written names, without its flips. */
constexpr quint32 tileOf(quint32 written)
{
    return written & ~flipBits;
}

constexpr bool isFlipped(quint32 written)
{
    return (written & flipBits) != 0;
}

/** A tile's place in the tileset whose first number is firstGid. */
constexpr qint64 tileInTileset(qint64 tile, qint64 firstGid)
{
    return tile - firstGid;
}

/** The numbers the maps written here give a terrain and a player's marker. */
constexpr quint32 terrainTile(int terrain)
{
    return terrainFirstGid + quint32(terrain);
}
constexpr quint32 playerTile(int player)
{
    return playerFirstGid + quint32(player);
}

} // namespace quintaraz::tiled
