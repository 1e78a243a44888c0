#include "map/mapproblems.h"

#include <algorithm>

namespace quintaraz {

namespace {

ProblemCell problemCell(GridPoint cell)
{
    return {cell.x, cell.y};
}

bool blocks(const StartRules& rules, int terrain)
{
    return isTerrain(terrain) ? rules.blocking[std::size_t(terrain)] : rules.unknownBlocks;
}

/** The cells of terrain numbers that name none: how many, and the first. */
std::optional<MapProblem> unknownTerrain(const GameMap& map)
{
    // Counted in one pass that the compiler can do many cells at a time.
    int unknown = 0;
    for (const std::int16_t terrain : map.terrain)
        unknown += isTerrain(terrain) ? 0 : 1;
    if (unknown == 0)
        return std::nullopt;
    const auto first = std::find_if(map.terrain.begin(), map.terrain.end(),
                                    [](int terrain) { return !isTerrain(terrain); });
    const int at = int(first - map.terrain.begin());
    return MapProblem{.kind = ProblemKind::UnknownTerrain,
                      .cell = ProblemCell{at % map.columns(), at / map.columns()},
                      .count = unknown,
                      .number = *first};
}

} // namespace

std::optional<MapProblem> startProblem(const GameMap& map, int player, const StartRules& rules)
{
    const std::optional<GridPoint> start = map.starts[std::size_t(player)];
    if (!start)
        return MapProblem{.kind = ProblemKind::StartMissing, .player = player};
    if (!map.contains(*start))
        return MapProblem{
            .kind = ProblemKind::StartOutside, .player = player, .cell = problemCell(*start)};
    const int terrain = map.terrainAt(start->x, start->y);
    if (blocks(rules, terrain))
        return MapProblem{.kind = ProblemKind::StartBlocked,
                          .player = player,
                          .cell = problemCell(*start),
                          .number = terrain};
    return std::nullopt;
}

std::vector<MapProblem> startProblems(const GameMap& map)
{
    std::vector<MapProblem> problems;
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> start = map.starts[std::size_t(g)];
        for (int later = g + 1; start && later < playerCount; ++later)
            if (map.starts[std::size_t(later)] == start)
                problems.push_back({.kind = ProblemKind::StartsShareCell,
                                    .player = g,
                                    .otherPlayer = later,
                                    .cell = problemCell(*start)});
        if (std::optional<MapProblem> problem = startProblem(map, g))
            problems.push_back(std::move(*problem));
    }
    return problems;
}

std::vector<MapProblem> mapProblems(const GameMap& map)
{
    std::vector<MapProblem> problems = startProblems(map);
    if (std::optional<MapProblem> unknown = unknownTerrain(map))
        problems.push_back(std::move(*unknown));
    if (const int extra = map.extraStartCount(); extra > 0)
        problems.push_back({.kind = ProblemKind::ExtraStarts, .count = playerCount + extra});
    return problems;
}

} // namespace quintaraz
