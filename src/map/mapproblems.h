#pragma once

#include "map/cellareas.h"
#include "map/gamemap.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace quintaraz {

/** What can be wrong with a map: its starts and cells, and the parts of a Tiled map. */
enum class ProblemKind : std::uint8_t {
    // A map's starts and cells, as mapProblems finds them. In a Tiled map a start is a
    // marker of the start layer, and these say so: layer and, where the marker is known,
    // object, with name (the players' tileset) and values (the map's columns and rows).
    StartMissing,    // player: no start at all
    StartOutside,    // player, cell: a start outside the map
    StartBlocked,    // player, cell, number (the terrain): a start where no start may stand
    StartsShareCell, // player, otherPlayer (the later of the two), cell
    UnknownTerrain,  // count, number (the first one's terrain), cell (the first one)
    ExtraStarts,     // count: every start entry, the ones after the eighth included
    // A Tiled map's markers, layers, tilesets and tiles, as its reader finds them.
    NotAMarker,          // object, cell, layer, name (the players' tileset)
    MarkerTwice,         // player, object, cell (the first marker), otherObject, otherCell, layer
    MarkerNamedOther,    // player, object, cell, layer, name (as written), otherPlayer (named)
    MarkerRotated,       // player, object, cell, layer, values[0] (degrees)
    MarkerHidden,        // player, object, cell, layer
    LayerHidden,         // layer
    LayerMoved,          // layer, values (the offset in pixels)
    LayerPainted,        // layer (another tile layer), cell (its first painted cell), name (ours)
    TerrainLayerMissing, // layer
    StartLayerMissing,   // layer
    LayerRepeated,       // layer, count
    TilesetMissing,      // name
    EmptyCells,          // layer, count, areas, name (the terrains' tileset)
    OtherTilesetCells,   // layer, count, areas, name (that tileset), values[0] (its first number),
                         // otherName (the terrains' tileset), values[1] (theirs)
    NoTerrainCells,      // layer, count, areas, name (the terrains' tileset)
    InfiniteMap,
    NotOrthogonal,  // name (the orientation)
    OtherTileSize,  // values (the tiles' width and height)
    SizeOutOfRange, // values (columns and rows)
    FlippedTiles,   // count
    LayersLeftOut,  // names, name and otherName (the two layers that are kept)
    Unreadable,     // name: the reader's own words for what it could not read
};

/** A cell that a problem names: it may lie anywhere, as a marker dragged far off a map may. */
struct ProblemCell {
    qint64 column = 0;
    qint64 row = 0;

    friend bool operator==(const ProblemCell&, const ProblemCell&) = default;
};

/**
 * One thing wrong with a map, as data: what it is and what it is about. Which fields mean
 * something depends on the kind (see ProblemKind); problemText says it in Spanish.
 */
struct MapProblem {
    ProblemKind kind = ProblemKind::Unreadable;
    int player = -1;      // from 0
    int otherPlayer = -1; // from 0
    std::optional<ProblemCell> cell{};
    std::optional<ProblemCell> otherCell{};
    qint64 count = 0;
    qint64 number = 0;
    std::array<double, 2> values{};
    QString layer{}; // in a Tiled map, the layer it is about
    QString object{};
    QString otherObject{};
    QString name{};
    QString otherName{};
    QStringList names{};
    std::vector<CellArea> areas{}; // where the cells lie, the first few of them
};

/** Where a start may not stand: these terrains, and a number that names none if set. */
struct StartRules {
    std::array<bool, terrainCount> blocking{false, true, true, false, false, false};
    bool unknownBlocks = false;
};

/** The game's rule for starts: not on rock, not on water. */
inline constexpr StartRules gameStartRules{};

/**
 * What is wrong with a player's start, the first of: none, outside the map, on a terrain
 * where no start may stand. Two starts on one cell are a matter of two players: see
 * startProblems.
 */
std::optional<MapProblem> startProblem(const GameMap& map, int player,
                                       const StartRules& rules = gameStartRules);

/**
 * What is wrong with the starts of a map, player by player: each player's start missing,
 * outside, or blocked, and each pair of players that start on one cell, listed with the
 * first of them.
 */
std::vector<MapProblem> startProblems(const GameMap& map);

/**
 * Everything the game may not expect of a map: the problems of its starts, then its cells
 * of terrain numbers the editor does not know, then start entries after the eighth.
 */
std::vector<MapProblem> mapProblems(const GameMap& map);

} // namespace quintaraz
