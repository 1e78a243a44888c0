#include "versions/mapmerge.h"

#include "map/mapproblems.h"
#include "versions/mapdiff.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quintaraz {

namespace {

bool sameSize(const GameMap& a, const GameMap& b)
{
    return a.maxwidth == b.maxwidth && a.maxheight == b.maxheight;
}

bool sameCells(const GameMap& a, const GameMap& b)
{
    return sameSize(a, b) && std::memcmp(a.terrain.data(), b.terrain.data(),
                                         sizeof(std::int16_t) * std::size_t(a.cellCount())) == 0;
}

GridPoint sizeOf(const GameMap& map)
{
    return {std::int16_t(map.columns()), std::int16_t(map.rows())};
}

void mergeCells(const GameMap* base, const GameMap& ours, const GameMap& theirs, MapMerge& merge)
{
    GameMap& out = merge.map;
    const std::size_t rowBytes = sizeof(std::int16_t) * std::size_t(out.columns());
    for (int y = 0; y < out.rows(); ++y) {
        const int row = out.cellIndex(0, y);
        // Most rows are the same on both sides.
        if (std::memcmp(&ours.terrain[row], &theirs.terrain[row], rowBytes) == 0) {
            std::memcpy(&out.terrain[row], &ours.terrain[row], rowBytes);
            continue;
        }
        for (int x = 0; x < out.columns(); ++x) {
            const std::int16_t mine = ours.terrain[row + x];
            const std::int16_t other = theirs.terrain[row + x];
            const std::optional<std::int16_t> was =
                base ? terrainIfInside(*base, x, y) : std::nullopt;
            out.terrain[row + x] = mine == other || was != mine ? mine : other;
            if (mine != other && was != mine && was != other)
                merge.conflicts.push_back({.kind = MergeConflict::Kind::Cell,
                                           .cell = {std::int16_t(x), std::int16_t(y)},
                                           .base = was,
                                           .ours = mine,
                                           .theirs = other});
        }
    }
}

void mergeStarts(const GameMap* base, const GameMap& ours, const GameMap& theirs, MapMerge& merge)
{
    GameMap& out = merge.map;
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> was = base ? base->starts[g] : std::nullopt;
        const std::optional<GridPoint> mine = ours.starts[g];
        const std::optional<GridPoint> other = theirs.starts[g];
        out.starts[g] = mine == other || was != mine ? mine : other;
        if (mine != other && was != mine && was != other)
            merge.conflicts.push_back({.kind = MergeConflict::Kind::Start,
                                       .player = g,
                                       .baseAt = was.value_or(GridPoint{}),
                                       .oursAt = mine.value_or(GridPoint{}),
                                       .theirsAt = other.value_or(GridPoint{})});
    }
}

/**
 * What keeps a player's start from standing where it is, by the rules of starts: outside the
 * map, on water or rock, on another player's start (otherPlayer, the first such player).
 * Nothing for a start that may stand there, or for no start.
 */
std::optional<MapProblem> landProblem(const GameMap& map, int player)
{
    if (!map.starts[std::size_t(player)])
        return std::nullopt;
    if (std::optional<MapProblem> problem = startProblem(map, player))
        return problem;
    for (MapProblem& problem : startProblems(map)) {
        if (problem.kind != ProblemKind::StartsShareCell)
            continue;
        if (problem.otherPlayer == player)
            std::swap(problem.player, problem.otherPlayer);
        if (problem.player == player)
            return std::move(problem);
    }
    return std::nullopt;
}

/**
 * Puts each start that the merge left where no start may be, where ours was fine, back where
 * ours has it, on our terrain, each a conflict. Moving one back may leave another on its
 * cell, so it goes on until none is left; each player moves back at most once.
 */
void keepOurStartsOnLand(const GameMap& ours, MapMerge& merge)
{
    GameMap& out = merge.map;
    std::array<bool, playerCount> kept{};
    for (bool again = true; again;) {
        again = false;
        for (int g = 0; g < playerCount; ++g) {
            if (kept[g] || !ours.starts[g] || landProblem(ours, g))
                continue;
            std::optional<MapProblem> broken = landProblem(out, g);
            if (!broken)
                continue;
            const GridPoint ourStart = *ours.starts[g];
            MergeConflict conflict{.kind = MergeConflict::Kind::Land,
                                   .cell = *out.starts[g],
                                   .player = g,
                                   .oursAt = ourStart,
                                   .rule = std::move(broken)};
            out.starts[g] = ourStart;
            const std::optional<MapProblem> underOurs = startProblem(out, g);
            if (underOurs && underOurs->kind == ProblemKind::StartBlocked) {
                conflict.keptTerrain = ours.terrainAt(ourStart.x, ourStart.y);
                out.setTerrainAt(ourStart.x, ourStart.y, *conflict.keptTerrain);
            }
            merge.conflicts.push_back(conflict);
            kept[g] = true;
            again = true;
        }
    }
}

} // namespace

MapMerge mergeMaps(const GameMap* base, const GameMap& ours, const GameMap& theirs)
{
    MapMerge merge;
    GameMap& out = merge.map;
    merge.extraStartsDropped = (base && !base->extraStarts.empty()) || !ours.extraStarts.empty() ||
                               !theirs.extraStarts.empty();
    // Without a base both sides changed everything.
    const auto changed = [&](const GameMap& side) {
        return !base || !sameCells(side, *base) || side.starts != base->starts;
    };
    if (!sameSize(ours, theirs)) {
        // One side took another size: the other side's cells no longer mean the same.
        const bool bothChanged = changed(ours) && changed(theirs);
        out = bothChanged || changed(ours) ? ours : theirs;
        if (bothChanged)
            merge.conflicts.push_back({.kind = MergeConflict::Kind::Size,
                                       .baseAt = base ? sizeOf(*base) : GridPoint{},
                                       .oursAt = sizeOf(ours),
                                       .theirsAt = sizeOf(theirs)});
        out.extraStarts.clear();
    } else {
        out.resize(ours.maxwidth, ours.maxheight);
        mergeCells(base, ours, theirs, merge);
        mergeStarts(base, ours, theirs, merge);
        keepOurStartsOnLand(ours, merge);
    }
    for (MergeConflict& conflict : merge.conflicts)
        conflict.withBase = base != nullptr;
    return merge;
}

std::vector<ConflictArea> conflictAreas(const std::vector<MergeConflict>& conflicts)
{
    // Cell conflicts come row by row, as cellAreas takes them.
    std::vector<KeyedCell> keyed;
    for (const MergeConflict& conflict : conflicts)
        if (conflict.kind == MergeConflict::Kind::Cell)
            keyed.push_back({conflict.cell, terrainBits(conflict.base) << 34 |
                                                terrainBits(conflict.ours) << 17 |
                                                terrainBits(conflict.theirs)});
    std::vector<ConflictArea> areas;
    for (const KeyedArea& area : cellAreas(keyed))
        areas.push_back({area.area, terrainOfBits(area.key >> 34), terrainOfBits(area.key >> 17),
                         terrainOfBits(area.key)});
    return areas;
}

std::vector<GridPoint> conflictCells(const MapMerge& merged)
{
    std::vector<GridPoint> cells;
    for (const MergeConflict& conflict : merged.conflicts) {
        if (conflict.kind == MergeConflict::Kind::Cell)
            cells.push_back(conflict.cell);
        if (conflict.kind == MergeConflict::Kind::Land && merged.map.contains(conflict.cell))
            cells.push_back(conflict.cell);
        if (conflict.kind == MergeConflict::Kind::Start ||
            conflict.kind == MergeConflict::Kind::Land)
            cells.push_back(conflict.oursAt);
    }
    return cells;
}

} // namespace quintaraz
