#include "generate/startlayout.h"

#include "balance/balancefigures.h"
#include "balance/mapsymmetry.h"
#include "map/mapproblems.h"

#include <algorithm>
#include <cstdlib>

namespace quintaraz {

namespace {

/** A generated map's starts stand on grass, where no kit, nor anything painted later, lies. */
constexpr StartRules onGrassOnly{.blocking = {false, true, true, true, true, true},
                                 .unknownBlocks = true};

/** Fractions of the quadrant are drawn in 64ths. */
constexpr int whole = 64;

/** How many layouts are drawn, and how many steps each is moved by, to find an even one. */
constexpr int layoutDraws = 16;
constexpr int climbSteps = 96;

/** A small round patch of cells near a start, as steps from it, none within one step of it. */
std::vector<std::pair<int, int>> kitPatch(int size, SplitMix64& random)
{
    std::vector<std::pair<int, int>> cells;
    if (size == 0)
        return cells;
    const auto isNearStart = [](int dx, int dy) { return std::abs(dx) <= 1 && std::abs(dy) <= 1; };
    // Two or three steps from the start, in any direction.
    int dx = 0;
    int dy = 0;
    while (isNearStart(dx, dy)) {
        dx = random.between(-3, 3);
        dy = random.between(-3, 3);
    }
    cells.push_back({dx, dy});
    // Round, as the painter's patches are: of a few cells beside the patch, the nearest to
    // its first cell.
    const std::array<std::pair<int, int>, 4> sides{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
    const auto spread = [&](std::pair<int, int> cell) {
        return (cell.first - dx) * (cell.first - dx) + (cell.second - dy) * (cell.second - dy);
    };
    for (int attempts = 0; int(cells.size()) < size && attempts < 64 * size; ++attempts) {
        std::optional<std::pair<int, int>> best;
        for (int tried = 0; tried < 4; ++tried) {
            const auto [x, y] = cells[random.below(std::uint32_t(cells.size()))];
            const auto [sx, sy] = sides[random.below(4)];
            const std::pair<int, int> next{x + sx, y + sy};
            if (!isNearStart(next.first, next.second) &&
                std::find(cells.begin(), cells.end(), next) == cells.end() &&
                (!best || spread(next) < spread(*best)))
                best = next;
        }
        if (best)
            cells.push_back(*best);
    }
    return cells;
}

int steps(GridPoint a, GridPoint b)
{
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

/** The eight starts from A and B, in player order, as StartLayout::starts holds them. */
std::array<GridPoint, playerCount> allStarts(const GameMap& size, GridPoint a, GridPoint b,
                                             GeneratedSymmetry symmetry)
{
    const auto image = [&](Symmetry s, GridPoint p) { return transformed(s, size, p); };
    const Symmetry pairing =
        symmetry == GeneratedSymmetry::MirrorVertical     ? Symmetry::MirrorVertical
        : symmetry == GeneratedSymmetry::MirrorHorizontal ? Symmetry::MirrorHorizontal
                                                          : Symmetry::HalfTurn;
    // Players 1 to 4 in one half of the symmetry asked, 5 to 8 their images.
    const Symmetry inHalf =
        pairing == Symmetry::MirrorVertical ? Symmetry::MirrorHorizontal : Symmetry::MirrorVertical;
    const std::array<GridPoint, 4> half{a, b, image(inHalf, a), image(inHalf, b)};
    std::array<GridPoint, playerCount> starts;
    for (int k = 0; k < 4; ++k) {
        starts[std::size_t(k)] = half[std::size_t(k)];
        starts[std::size_t(k + 4)] = image(pairing, half[std::size_t(k)]);
    }
    return starts;
}

/** Gaps between A's and B's figures are reckoned in ten-thousandths of the larger figure. */
constexpr int wholeGap = 10000;
/** The gap of a layout even enough to be taken at once. */
constexpr int evenGap = wholeGap / 20;

/**
 * How far apart A and B come out on open ground, where a walk is as long as the steps along
 * rows and columns, as the larger of three gaps, each relative to the larger figure: the
 * space within R steps, the cells each reaches first and the nearest rival. A reaches first
 * only cells of its own quadrant, where B is its one rival: the images of both lie beyond
 * an axis. Whole numbers only, the same on every machine; above wholeGap when two starts lie
 * nearer than least.
 */
int openGroundGap(const std::array<GridPoint, playerCount>& starts, int columns, int rows,
                  int least)
{
    const int radius = BalanceSettings().radius;
    std::array<int, 2> space{};
    std::array<int, 2> territory{};
    std::array<int, 2> nearest{columns + rows, columns + rows};
    for (int g = 0; g < playerCount; ++g)
        for (int h = g + 1; h < playerCount; ++h)
            if (steps(starts[g], starts[h]) < least)
                return 2 * wholeGap;
    for (int g = 0; g < 2; ++g) {
        for (int h = 0; h < playerCount; ++h)
            if (h != g)
                nearest[g] = std::min(nearest[g], steps(starts[g], starts[h]));
        // Row by row, the cells of the map within R steps.
        for (int dy = -radius; dy <= radius; ++dy) {
            const int y = starts[g].y + dy;
            if (y < 0 || y >= rows)
                continue;
            const int reach = radius - std::abs(dy);
            space[g] +=
                std::min(columns - 1, starts[g].x + reach) - std::max(0, starts[g].x - reach) + 1;
        }
    }
    const GridPoint a = starts[0];
    const GridPoint b = starts[1];
    for (int y = 0; y <= (rows - 2) / 2; ++y) {
        for (int x = 0; x <= (columns - 2) / 2; ++x) {
            const int toA = std::abs(x - a.x) + std::abs(y - a.y);
            const int toB = std::abs(x - b.x) + std::abs(y - b.y);
            territory[0] += toA < toB;
            territory[1] += toB < toA;
        }
    }
    const auto gap = [](const std::array<int, 2>& pair) {
        return wholeGap * std::abs(pair[0] - pair[1]) / std::max({pair[0], pair[1], 1});
    };
    return std::max({gap(space), gap(territory), gap(nearest)});
}

/**
 * Keeps a road from one start to another open: as straight as steps along rows and columns
 * go, so that a walk between them is as short as on open ground.
 */
void keepRoadOpen(const GameMap& map, GridPoint from, GridPoint to, TerrainPainter& painter)
{
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    int x = from.x;
    int y = from.y;
    // Across and down in the proportion of the whole way, one step at a time.
    for (int taken = 0; taken <= dx + dy; ++taken) {
        painter.keepOpen(map.cellIndex(x, y));
        const int across = std::abs(x - from.x);
        const int down = std::abs(y - from.y);
        if (across < dx && (down >= dy || (across + 1) * dy <= (down + 1) * dx))
            x += to.x > from.x ? 1 : -1;
        else
            y += to.y > from.y ? 1 : -1;
    }
}

} // namespace

std::optional<StartLayout> StartLayout::draw(int columns, int rows, GeneratedSymmetry symmetry,
                                             int kitTrees, int kitSoilPatches, SplitMix64& random)
{
    const GameMap size(columns - 1, rows - 1);
    // The top-left quadrant, axes left out: its cells' images are other cells.
    const int lastColumn = (columns - 2) / 2;
    const int lastRow = (rows - 2) / 2;
    const int margin = std::max(1, std::min(columns, rows) / 12);
    const int least = std::max(1, leastStartDistance(columns, rows));
    const bool octagonal = symmetry == GeneratedSymmetry::Octagonal;
    const auto along = [&](int last, int fraction) {
        return std::int16_t(margin + (last - margin) * fraction / whole);
    };
    const auto inQuadrant = [&](GridPoint p) {
        return p.x >= margin && p.y >= margin && p.x <= lastColumn && p.y <= lastRow;
    };
    // The most even of the draws that miss evenGap, kept in case no draw reaches it: on the
    // smallest maps no two places of a quadrant do (18 x 17 comes no nearer than 5.4 %), and
    // balance, which measures every candidate, still tells whether the map is fair.
    std::optional<StartLayout> nearestMiss;
    int nearestMissGap = wholeGap / 10;
    for (int draw = 0; draw < layoutDraws; ++draw) {
        // A and B on an ellipse about the map's middle, at angles φ and 90° - φ...
        const int u = random.between(0, whole);
        const int v = random.between(0, whole);
        GridPoint a{along(lastColumn, u), along(lastRow, v)};
        GridPoint b{along(lastColumn, v), along(lastRow, u)};
        if (octagonal)
            b = transformed(Symmetry::Diagonal, size, a);
        std::array<GridPoint, playerCount> starts = allStarts(size, a, b, symmetry);
        int gap = octagonal ? 0 : openGroundGap(starts, columns, rows, least);
        // ... then moved a step at a time while that brings them nearer to even: on a map
        // that is not square, no ellipse is even.
        for (int step = 0; step < climbSteps && gap > wholeGap / 50 && !octagonal; ++step) {
            GridPoint movedA = a;
            GridPoint movedB = b;
            GridPoint& moved = random.below(2) == 0 ? movedA : movedB;
            (random.below(2) == 0 ? moved.x : moved.y) += random.below(2) == 0 ? 1 : -1;
            if (!inQuadrant(moved))
                continue;
            const std::array<GridPoint, playerCount> next =
                allStarts(size, movedA, movedB, symmetry);
            const int nextGap = openGroundGap(next, columns, rows, least);
            if (nextGap <= gap) {
                a = movedA;
                b = movedB;
                starts = next;
                gap = nextGap;
            }
        }
        if (octagonal && (a.x == a.y || openGroundGap(starts, columns, rows, least) > wholeGap))
            continue;
        StartLayout layout;
        layout.first = a;
        layout.second = b;
        layout.starts = starts;
        if (gap > evenGap) {
            if (gap <= nearestMissGap) {
                nearestMissGap = gap;
                nearestMiss = layout;
            }
            continue;
        }
        layout.kitTrees = kitPatch(kitTrees, random);
        layout.kitSoilPatches = kitPatch(kitSoilPatches, random);
        return layout;
    }
    if (nearestMiss) {
        nearestMiss->kitTrees = kitPatch(kitTrees, random);
        nearestMiss->kitSoilPatches = kitPatch(kitSoilPatches, random);
    }
    return nearestMiss;
}

bool StartLayout::placeOn(GameMap& map, TerrainPainter& painter, const CellOrbits& orbits,
                          GeneratedSymmetry symmetry) const
{
    // Open ground around each start, up to R steps where the map has room for it.
    const int open =
        std::clamp(std::min(map.columns(), map.rows()) / 6, 2, BalanceSettings().radius);
    for (int g = 0; g < playerCount; ++g) {
        const GridPoint start = starts[std::size_t(g)];
        map.starts[std::size_t(g)] = start;
        for (int y = std::max(0, start.y - open); y <= std::min(int(map.maxheight), start.y + open);
             ++y)
            for (int x = std::max(0, start.x - open);
                 x <= std::min(int(map.maxwidth), start.x + open); ++x)
                if (std::abs(x - start.x) + std::abs(y - start.y) <= open)
                    painter.keepOpen(map.cellIndex(x, y));
    }
    // With their roads open, every player's nearest rival is as near as on open ground.
    for (int g = 0; g < 2; ++g) {
        const GridPoint from = starts[std::size_t(g)];
        GridPoint nearest = starts[std::size_t(1 - g)];
        for (const GridPoint rival : starts)
            if (!(rival == from) && steps(from, rival) < steps(from, nearest))
                nearest = rival;
        keepRoadOpen(map, from, nearest, painter);
    }
    // The kits of A and of B, B's turned with it; the symmetries paint the others'.
    for (const bool swapped : {false, true}) {
        if (swapped && symmetry == GeneratedSymmetry::Octagonal)
            break; // B is an image of A, and its kit of A's
        const GridPoint start = swapped ? second : first;
        for (const auto& [kit, terrain] : {std::pair{&kitTrees, Terrain::Tree},
                                           std::pair{&kitSoilPatches, Terrain::SoilPatch}}) {
            for (const auto& [dx, dy] : *kit) {
                const int x = start.x + (swapped ? dy : dx);
                const int y = start.y + (swapped ? dx : dy);
                if (x < 0 || y < 0 || 2 * x >= map.maxwidth || 2 * y >= map.maxheight)
                    return false;
                const int cell = map.cellIndex(x, y);
                if (painter.paintOrbit(cell, terrain, orbits, nullptr) == 0)
                    return false;
                for (int k = 0; k < orbits.size(cell); ++k)
                    painter.lock(orbits.orbit(cell)[k]);
            }
        }
    }
    for (int g = 0; g < playerCount; ++g) {
        if (startProblem(map, g, onGrassOnly))
            return false; // under another start's kit
        painter.lock(map.cellIndex(starts[std::size_t(g)].x, starts[std::size_t(g)].y));
    }
    return true;
}

} // namespace quintaraz
