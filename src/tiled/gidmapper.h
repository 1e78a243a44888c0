#pragma once

#include <QtGlobal>

#include <vector>

namespace quintaraz::tiled {

/** A tile as a number of a layer or an object names it. */
struct TileRef {
    int tileset = -1; // its tileset's place in the map's list; -1 for none, as in an empty cell
    qint64 id = 0;    // its place in that tileset, from 0
    bool flipped = false;
};

/**
 * Tile numbers as Tiled writes them, all their arithmetic in one place: 0 is no tile; any
 * other number names a tile of the tileset whose first number is the highest up to it,
 * counted from that first number; the four highest bits flip or rotate the tile.
 */
class GidMapper {
public:
    /** The tilesets of the maps written here, in their order: the terrains from 1, then the
     * players' markers. */
    enum OurTileset { Terrains, Players };

    /** A map's tilesets by their first numbers, in the order of the map's list. */
    explicit GidMapper(std::vector<qint64> firstGids);
    /** How the maps written here number their tiles. */
    static GidMapper ours();

    /** The tile a number names; of two tilesets with one first number, the former. */
    TileRef tileOf(quint32 gid) const;
    /** Numbers from first up to, not including, end: a cell's, tested at a glance. */
    struct GidRange {
        quint32 first = 0;
        quint32 end = 0;

        bool contains(quint32 gid) const { return gid - first < end - first; }
    };
    /**
     * The numbers, unflipped, that name the first count tiles of a tileset: number - first
     * is the tile's place, as tileOf gives it. Empty for no tileset (-1).
     */
    GidRange unflippedRange(int tileset, qint64 count) const;
    /** The number of a tile of a tileset, unflipped. */
    quint32 gidOf(int tileset, qint64 id) const;
    /** The first number of a tileset. */
    qint64 firstGid(int tileset) const { return firstGids_[std::size_t(tileset)]; }

private:
    std::vector<qint64> firstGids_;
};

} // namespace quintaraz::tiled
