#include "balance/balancefigures.h"

#include "balance/passwidths.h"
#include "balance/walkinggrid.h"

#include <algorithm>
#include <numeric>

namespace quintaraz {

namespace {

using Distances = const std::uint16_t*;

/** Counts each player's resources of one terrain within R, 2R and 4R steps. */
void countResources(const std::vector<int>& cells, Distances distances, int radius,
                    std::array<int, 3>& counts)
{
    for (const int cell : cells) {
        const int distance = distances[cell];
        if (distance == WalkingGrid::unreached)
            continue;
        for (std::size_t k = 0; k < radiusMultiples.size(); ++k)
            counts[k] += distance <= radius * radiusMultiples[k];
    }
}

/** Who reaches each cell first, and the territory and disputed cells that makes. */
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
    std::vector<std::uint8_t> firsts(size, 0);
    std::vector<std::int8_t> first(size, nobodysCell);
    for (int g = 0; g < playerCount; ++g) {
        const std::uint16_t* mine = distances.data() + std::size_t(g) * size;
        for (std::size_t cell = 0; cell < size; ++cell) {
            const bool isFirst = mine[cell] == nearest[cell];
            firsts[cell] += isFirst;
            first[cell] = isFirst ? std::int8_t(g) : first[cell];
        }
    }
    figures.owners.assign(std::size_t(map.cellCount()), nobodysCell);
    for (int y = 0; y < grid.rows(); ++y) {
        for (int x = 0; x < grid.columns(); ++x) {
            const int cell = grid.index(x, y);
            if (nearest[std::size_t(cell)] == WalkingGrid::unreached)
                continue;
            const bool passable = grid.kind(cell) == WalkingGrid::Passable;
            std::int8_t& owner = figures.owners[std::size_t(map.cellIndex(x, y))];
            if (firsts[std::size_t(cell)] > 1) {
                // Disputed: nobody's, and counted only where a step can go.
                if (passable) {
                    owner = disputedCell;
                    ++figures.disputedCells;
                }
                continue;
            }
            owner = first[std::size_t(cell)];
            PlayerBalance& player = figures.players[std::size_t(owner)];
            player.territoryCells += passable;
            const int terrain = map.terrainAt(x, y);
            player.territoryTrees += terrain == terrainNumber(Terrain::Tree);
            player.territorySoilPatches += terrain == terrainNumber(Terrain::SoilPatch);
        }
    }
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
    const std::size_t size = std::size_t(grid.size());
    std::array<int, playerCount> starts;
    for (int g = 0; g < playerCount; ++g) {
        starts[g] = grid.walkableIndex(map.starts[g]);
        figures.players[g].walkable = starts[g] >= 0;
    }

    // One walk from each start: every distance below is read from these eight grids.
    std::vector<std::uint16_t> distances(size * playerCount, WalkingGrid::unreached);
    std::vector<int> order(size);
    std::vector<int> trees;
    std::vector<int> soilPatches;
    for (int y = 0; y < grid.rows(); ++y) {
        for (int x = 0; x < grid.columns(); ++x) {
            const int terrain = map.terrainAt(x, y);
            if (terrain == terrainNumber(Terrain::Tree))
                trees.push_back(grid.index(x, y));
            else if (terrain == terrainNumber(Terrain::SoilPatch))
                soilPatches.push_back(grid.index(x, y));
        }
    }
    for (int g = 0; g < playerCount; ++g) {
        if (starts[g] < 0)
            continue;
        PlayerBalance& player = figures.players[g];
        std::uint16_t* mine = distances.data() + std::size_t(g) * size;
        player.region = grid.walk(starts[g], mine, order.data());
        // The walk lists the cells nearest first.
        player.space =
            int(std::partition_point(order.begin(), order.begin() + player.region,
                                     [&](int cell) { return mine[cell] <= settings.radius; }) -
                order.begin());
        countResources(trees, mine, settings.radius, player.trees);
        countResources(soilPatches, mine, settings.radius, player.soilPatches);
    }
    shareTerritory(map, grid, distances, figures);

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

    figures.symmetries = checkSymmetries(map);
    for (int m = 0; m < balanceMeasureCount; ++m) {
        figures.measures[m] = spreadOf(figures, BalanceMeasure(m));
        if (figures.measures[m].ratio < figures.measure(figures.weakest).ratio)
            figures.weakest = BalanceMeasure(m);
    }
    const bool allReached = std::all_of(
        figures.players.begin(), figures.players.end(),
        [](const PlayerBalance& player) { return player.rivalsReached == playerCount - 1; });
    figures.verdict = !allReached ? BalanceVerdict::Unfair
                      : figures.measure(figures.weakest).ratio >= settings.threshold
                          ? BalanceVerdict::Balanced
                          : BalanceVerdict::Unbalanced;
    return figures;
}

} // namespace quintaraz
