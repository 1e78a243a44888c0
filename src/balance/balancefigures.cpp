#include "balance/balancefigures.h"

#include "balance/passwidths.h"
#include "balance/walkinggrid.h"
#include "map/mapproblems.h"

#include <algorithm>

namespace quintaraz {

namespace {

/**
 * A player's trees and soil patches within R, 2R and 4R steps. One pass over the grid that
 * the compiler does many cells at a time, with no branch.
 */
void countResources(const WalkingGrid& grid, const std::uint16_t* distances, int radius,
                    PlayerBalance& player)
{
    // Every distance fits 16 bits, unreached above them all.
    std::array<std::uint16_t, 3> limits;
    for (std::size_t k = 0; k < limits.size(); ++k)
        limits[k] =
            std::uint16_t(std::min(radius * radiusMultiples[k], WalkingGrid::unreached - 1));
    const std::uint8_t* resources = grid.resources();
    // Counted in 16 bits, as wide as the distances: no count exceeds the 10,404 cells.
    std::array<std::uint16_t, 3> trees{};
    std::array<std::uint16_t, 3> soilPatches{};
    for (int cell = 0; cell < grid.size(); ++cell) {
        const std::uint16_t tree = resources[cell] == WalkingGrid::TreeCell;
        const std::uint16_t soil = resources[cell] == WalkingGrid::SoilPatchCell;
        for (std::size_t k = 0; k < limits.size(); ++k) {
            const std::uint16_t within = distances[cell] <= limits[k];
            trees[k] = std::uint16_t(trees[k] + (tree & within));
            soilPatches[k] = std::uint16_t(soilPatches[k] + (soil & within));
        }
    }
    std::copy(trees.begin(), trees.end(), player.trees.begin());
    std::copy(soilPatches.begin(), soilPatches.end(), player.soilPatches.begin());
}

/**
 * Who reaches each cell first, and the territory and disputed cells that makes: passes over
 * the eight grids and the map, each the same work for every cell.
 */
void shareTerritory(const GameMap& map, const WalkingGrid& grid,
                    const std::vector<std::uint16_t>& distances, BalanceFigures& figures)
{
    const std::size_t size = std::size_t(grid.size());
    std::vector<std::uint16_t> nearest(size, WalkingGrid::unreached);
    for (int g = 0; g < playerCount; ++g) {
        const std::uint16_t* mine = distances.data() + std::size_t(g) * size;
        for (std::size_t cell = 0; cell < size; ++cell)
            nearest[cell] = std::min(nearest[cell], mine[cell]);
    }
    // How many players reach each cell first, and the last of them; none where nobody goes.
    std::vector<std::uint8_t> firsts(size, 0);
    std::vector<std::int8_t> first(size, nobodysCell);
    for (int g = 0; g < playerCount; ++g) {
        const std::uint16_t* mine = distances.data() + std::size_t(g) * size;
        for (std::size_t cell = 0; cell < size; ++cell) {
            const bool isFirst =
                (mine[cell] == nearest[cell]) & (mine[cell] != WalkingGrid::unreached);
            firsts[cell] += isFirst;
            first[cell] = isFirst ? std::int8_t(g) : first[cell];
        }
    }
    // A tie is disputed where a step can go, and nobody's on a resource that blocks. What
    // each owner holds is tallied in one pass, owner by owner: players, then the others.
    const std::uint8_t* kinds = grid.kinds();
    const std::uint8_t* resources = grid.resources();
    std::vector<std::int8_t> owners(size);
    constexpr int others = 2; // disputedCell and nobodysCell come before the players
    std::array<std::array<int, 3>, playerCount + others> tally{}; // cells, trees, soil patches
    for (std::size_t cell = 0; cell < size; ++cell) {
        const bool passable = kinds[cell] == WalkingGrid::Passable;
        std::int8_t owner = passable ? disputedCell : nobodysCell;
        owner = firsts[cell] == 0 ? nobodysCell : owner;
        owner = firsts[cell] == 1 ? first[cell] : owner;
        owners[cell] = owner;
        std::array<int, 3>& held = tally[std::size_t(owner + others)];
        held[0] += passable;
        held[1] += resources[cell] == WalkingGrid::TreeCell;
        held[2] += resources[cell] == WalkingGrid::SoilPatchCell;
    }
    figures.disputedCells = tally[std::size_t(disputedCell + others)][0];
    for (int g = 0; g < playerCount; ++g) {
        PlayerBalance& player = figures.players[std::size_t(g)];
        player.territoryCells = tally[std::size_t(g + others)][0];
        player.territoryTrees = tally[std::size_t(g + others)][1];
        player.territorySoilPatches = tally[std::size_t(g + others)][2];
    }
    figures.owners.resize(std::size_t(map.cellCount()));
    for (int y = 0; y < grid.rows(); ++y)
        std::copy_n(owners.begin() + grid.index(0, y), grid.columns(),
                    figures.owners.begin() + map.cellIndex(0, y));
}

/** Numbers the groups of players whose starts reach one another. */
std::array<int, playerCount> reachGroups(const std::array<std::uint8_t, playerCount>& reaches,
                                         const std::array<int, playerCount>& starts)
{
    std::array<int, playerCount> groups;
    groups.fill(-1);
    int next = 0;
    for (int g = 0; g < playerCount; ++g) {
        if (starts[g] < 0 || groups[g] >= 0)
            continue;
        groups[g] = next;
        for (int h = g + 1; h < playerCount; ++h)
            if (reaches[g] & (1u << h))
                groups[h] = next;
        ++next;
    }
    return groups;
}

MeasureSpread spreadOf(const BalanceFigures& figures, BalanceMeasure measure)
{
    MeasureSpread spread;
    double sum = 0;
    double squares = 0;
    int count = 0;
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<int> value = figures.value(measure, g);
        if (!value)
            continue;
        if (!spread.worst || *value < *spread.worst) {
            spread.worst = value;
            spread.worstPlayer = g;
        }
        if (!spread.best || *value > *spread.best) {
            spread.best = value;
            spread.bestPlayer = g;
        }
        sum += *value;
        squares += double(*value) * *value;
        ++count;
    }
    if (spread.best && *spread.best > 0)
        spread.ratio = double(*spread.worst) / *spread.best;
    if (squares > 0)
        spread.jain = sum * sum / (count * squares);
    return spread;
}

/**
 * Each start's cell of the grid, or -1 for one that reaches nothing: where the rules of
 * starts, with the settings' terrains blocking, say that it cannot stand (nowhere, outside the
 * map, on a blocking cell).
 */
std::array<int, playerCount> walkableStarts(const GameMap& map, const WalkingGrid& grid,
                                            BalanceFigures& figures)
{
    const StartRules rules{.blocking = figures.settings.blocking, .unknownBlocks = true};
    std::array<int, playerCount> starts;
    for (int g = 0; g < playerCount; ++g) {
        PlayerBalance& player = figures.players[g];
        player.startProblem = startProblem(map, g, rules);
        player.walkable = !player.startProblem;
        starts[g] = player.walkable ? grid.index(map.starts[g]->x, map.starts[g]->y) : -1;
    }
    return starts;
}

/** The walking distances from each start, a grid a player; the region, space and resources. */
std::vector<std::uint16_t> walkFromStarts(const WalkingGrid& grid,
                                          const std::array<int, playerCount>& starts,
                                          BalanceFigures& figures)
{
    const std::size_t size = std::size_t(grid.size());
    const int radius = figures.settings.radius;
    std::vector<std::uint16_t> distances(size * playerCount, WalkingGrid::unreached);
    std::vector<int> order(size);
    for (int g = 0; g < playerCount; ++g) {
        if (starts[g] < 0)
            continue;
        PlayerBalance& player = figures.players[g];
        std::uint16_t* mine = distances.data() + std::size_t(g) * size;
        player.region = grid.walk(starts[g], mine, order.data());
        // The walk lists the cells nearest first.
        player.space = int(std::partition_point(order.begin(), order.begin() + player.region,
                                                [&](int cell) { return mine[cell] <= radius; }) -
                           order.begin());
        countResources(grid, mine, radius, player);
    }
    return distances;
}

/**
 * Which rivals each player reaches, the nearest and the farthest, and which players reach one
 * another; gives each player's nearest rivals, bit h for player h.
 */
std::array<std::uint8_t, playerCount> measureRivals(const WalkingGrid& grid,
                                                    const std::array<int, playerCount>& starts,
                                                    const std::vector<std::uint16_t>& distances,
                                                    BalanceFigures& figures)
{
    const std::size_t size = std::size_t(grid.size());
    std::array<std::uint8_t, playerCount> reaches{};
    std::array<std::uint8_t, playerCount> nearestRivals{};
    for (int g = 0; g < playerCount; ++g) {
        if (starts[g] < 0)
            continue;
        PlayerBalance& player = figures.players[g];
        const std::uint16_t* mine = distances.data() + std::size_t(g) * size;
        for (int h = 0; h < playerCount; ++h) {
            if (h == g || starts[h] < 0 || mine[starts[h]] == WalkingGrid::unreached)
                continue;
            const int distance = mine[starts[h]];
            reaches[g] |= std::uint8_t(1u << h);
            ++player.rivalsReached;
            if (!player.nearestRival || distance < *player.nearestRival) {
                player.nearestRival = distance;
                nearestRivals[g] = 0;
            }
            if (distance == *player.nearestRival)
                nearestRivals[g] |= std::uint8_t(1u << h);
            player.farthestRival = std::max(player.farthestRival.value_or(0), distance);
        }
    }
    figures.reachGroups = reachGroups(reaches, starts);
    return nearestRivals;
}

/** Each player's narrowest pass on the widest route to its nearest rivals, and its cell. */
void measurePasses(const WalkingGrid& grid, const std::array<int, playerCount>& starts,
                   const std::array<std::uint8_t, playerCount>& nearestRivals,
                   BalanceFigures& figures)
{
    // Of equally near rivals, the widest route counts: a player's number changes nothing.
    const PassWidths widths(grid);
    const auto routes = widths.widestRoutes(starts, nearestRivals);
    for (int g = 0; g < playerCount; ++g) {
        if (!routes[g])
            continue;
        figures.players[g].narrowestPass = routes[g]->width;
        const int cell = routes[g]->narrowest;
        figures.players[g].passCell = GridPoint{std::int16_t(cell % grid.stride() - 1),
                                                std::int16_t(cell / grid.stride() - 1)};
    }
}

/** The five measures over the players, the weakest of them and the verdict. */
void judge(BalanceFigures& figures)
{
    for (int m = 0; m < balanceMeasureCount; ++m) {
        figures.measures[m] = spreadOf(figures, BalanceMeasure(m));
        if (figures.measures[m].ratio < figures.measure(figures.weakest).ratio)
            figures.weakest = BalanceMeasure(m);
    }
    const bool allReached = std::all_of(
        figures.players.begin(), figures.players.end(),
        [](const PlayerBalance& player) { return player.rivalsReached == playerCount - 1; });
    figures.verdict = !allReached ? BalanceVerdict::Unfair
                      : figures.measure(figures.weakest).ratio >= figures.settings.threshold
                          ? BalanceVerdict::Balanced
                          : BalanceVerdict::Unbalanced;
}

} // namespace

std::optional<int> BalanceFigures::value(BalanceMeasure which, int player) const
{
    const PlayerBalance& figures = players[std::size_t(player)];
    switch (which) {
    case BalanceMeasure::Space:
        return figures.space;
    case BalanceMeasure::Trees:
        return figures.trees[1];
    case BalanceMeasure::SoilPatches:
        return figures.soilPatches[1];
    case BalanceMeasure::Territory:
        return figures.territoryCells;
    case BalanceMeasure::NearestRival:
        return figures.nearestRival;
    }
    return std::nullopt;
}

BalanceFigures measureBalance(const GameMap& map, const BalanceSettings& settings)
{
    BalanceFigures figures;
    figures.settings = settings;
    const WalkingGrid grid(map, settings.blocking);
    const std::array<int, playerCount> starts = walkableStarts(map, grid, figures);
    // One walk from each start: every distance below is read from these eight grids.
    const std::vector<std::uint16_t> distances = walkFromStarts(grid, starts, figures);
    shareTerritory(map, grid, distances, figures);
    const std::array<std::uint8_t, playerCount> nearestRivals =
        measureRivals(grid, starts, distances, figures);
    measurePasses(grid, starts, nearestRivals, figures);
    figures.symmetries = checkSymmetries(map);
    judge(figures);
    return figures;
}

} // namespace quintaraz
