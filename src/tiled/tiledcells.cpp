// The cells of the terrain layer that are no terrain, grouped in rectangles; see tiledcells.h.

#include "tiled/tiledcells.h"

#include "map/cellareas.h"

#include <map>

namespace quintaraz {

using namespace tiled;

namespace {

/** What is wrong with a cell: a kind, and for a tile of another tileset, which one. */
enum class CellFault : std::int16_t { Empty, OtherTileset, NoTerrain };

/** The rectangles that cells of the rows lie in. */
std::vector<CellArea> areasOf(const std::vector<KeyedCell>& cells)
{
    std::vector<CellArea> areas;
    for (const KeyedArea& area : cellAreas(cells))
        areas.push_back(area.area);
    return areas;
}

} // namespace

std::vector<MapProblem> terrainCellProblems(const TiledParts& parts, const GidMapper& gids,
                                            int terrains)
{
    // The faulty cells of each kind, in the order of the rows, as cellAreas groups them. A
    // tile of another tileset is keyed by that tileset's place in the map's list.
    std::map<std::pair<CellFault, int>, std::vector<KeyedCell>> faults;
    const GidMapper::GidRange fine = gids.unflippedRange(terrains, terrainCount);
    for (qsizetype k = 0; k < parts.cells(); ++k) {
        if (fine.contains(parts.terrain[std::size_t(k)]))
            continue;
        const TileRef tile = gids.tileOf(parts.terrain[std::size_t(k)]);
        if (tile.tileset == terrains && tile.id < terrainCount)
            continue;
        const std::pair key = tile.tileset < 0 ? std::pair{CellFault::Empty, -1}
                              : tile.tileset != terrains
                                  ? std::pair{CellFault::OtherTileset, tile.tileset}
                                  : std::pair{CellFault::NoTerrain, -1};
        const GridPoint cell{std::int16_t(k % parts.width), std::int16_t(k / parts.width)};
        faults[key].push_back({cell, 0});
    }
    std::vector<MapProblem> problems;
    const TilesetEntry& ours = parts.tilesets[terrains];
    for (const auto& [key, cells] : faults) {
        MapProblem problem{.count = qint64(cells.size()),
                           .layer = QLatin1String(terrainLayer),
                           .name = ours.name,
                           .areas = areasOf(cells)};
        switch (key.first) {
        case CellFault::Empty:
            problem.kind = ProblemKind::EmptyCells;
            break;
        case CellFault::OtherTileset: {
            const TilesetEntry& other = parts.tilesets[key.second];
            problem.kind = ProblemKind::OtherTilesetCells;
            problem.values = {double(other.firstGid), double(ours.firstGid)};
            problem.otherName = ours.name;
            problem.name = other.name;
            break;
        }
        case CellFault::NoTerrain:
            problem.kind = ProblemKind::NoTerrainCells;
            break;
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

} // namespace quintaraz
