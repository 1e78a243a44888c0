#include "generate/terrainpainter.h"

#include "balance/balancefigures.h"
#include "generate/uniformcells.h"

#include <array>
#include <cstdlib>

namespace quintaraz {

namespace {

constexpr std::int16_t grass = terrainNumber(Terrain::Grass);

/** The fewest cells of its own that a patch is begun with. */
constexpr int smallestPatch = 4;

/** The directions a stretched patch may take, as steps along and across it. */
constexpr std::array<std::pair<int, int>, 8> stretchDirections{
    {{1, 0}, {0, 1}, {1, 1}, {1, -1}, {2, 1}, {1, 2}, {2, -1}, {1, -2}}};

} // namespace

TerrainPainter::TerrainPainter(GameMap& map)
    : map_(map)
    , kept_(std::size_t(map.cellCount()), 0)
    , blocking_(BalanceSettings().blocking)
{
}

bool TerrainPainter::blocksAt(int x, int y) const
{
    return x < 0 || y < 0 || x > map_.maxwidth || y > map_.maxheight ||
           blocksStep(map_.terrainAt(x, y));
}

bool TerrainPainter::blockingKeepsJoined(int cell) const
{
    // The eight cells around, in turn: each is beside the next. The passable ones beside
    // the cell stay joined without it when they lie in one unbroken run of passable cells
    // around it; a run that holds only corners touches nothing through this cell.
    const int x = cell % map_.columns();
    const int y = cell / map_.columns();
    static constexpr std::array<std::pair<int, int>, 8> around{
        {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};
    std::array<bool, 8> open;
    for (std::size_t k = 0; k < around.size(); ++k)
        open[k] = !blocksAt(x + around[k].first, y + around[k].second);
    int runs = 0;
    for (std::size_t k = 0; k < around.size(); k += 2) {
        if (!open[k])
            continue;
        // A side cell begins a run unless the run reaches it from the cells before it.
        const bool joinedBefore = open[(k + 7) % 8] && open[(k + 6) % 8];
        runs += !joinedBefore;
    }
    // Every side cell passable with every corner passable is one run with no beginning.
    return runs <= 1;
}

int TerrainPainter::uniformGain(int cell, std::int16_t terrain)
{
    const int x = cell % map_.columns();
    const int y = cell / map_.columns();
    const auto around = [&] {
        int uniform = isUniformCell(map_, x, y);
        uniform += x > 0 && isUniformCell(map_, x - 1, y);
        uniform += x < map_.maxwidth && isUniformCell(map_, x + 1, y);
        uniform += y > 0 && isUniformCell(map_, x, y - 1);
        uniform += y < map_.maxheight && isUniformCell(map_, x, y + 1);
        return uniform;
    };
    const std::int16_t was = map_.terrain[std::size_t(cell)];
    const int before = around();
    map_.terrain[std::size_t(cell)] = terrain;
    const int after = around();
    map_.terrain[std::size_t(cell)] = was;
    return after - before;
}

int TerrainPainter::paintOrbit(int cell, Terrain terrain, const CellOrbits& orbits,
                               PaintingAccount* account)
{
    const std::int16_t* cells = orbits.orbit(cell);
    const int count = orbits.size(cell);
    const std::int16_t number = terrainNumber(terrain);
    const bool blocking = blocksStep(number);
    for (int k = 0; k < count; ++k) {
        const std::uint8_t kept = kept_[std::size_t(cells[k])];
        if (map_.terrain[std::size_t(cells[k])] != grass || (kept & Locked) ||
            (blocking && (kept & Open)))
            return 0;
    }
    // One cell after another: each must leave the passable cells joined as the ones
    // before it left them.
    int painted = 0;
    for (; painted < count; ++painted) {
        if (blocking && !blockingKeepsJoined(cells[painted]))
            break;
        map_.terrain[std::size_t(cells[painted])] = number;
    }
    if (painted == count && (!account || account->welcome(cells, count)))
        return count;
    for (int k = 0; k < painted; ++k)
        map_.terrain[std::size_t(cells[k])] = grass;
    return 0;
}

int TerrainPainter::drawSeed(SplitMix64& random) const
{
    // On an axis or a diagonal a patch and its images grow into one; at an edge, half of its
    // rim is the edge's. Both make patches with little rim for their size.
    int x = int(random.below(std::uint32_t(map_.columns())));
    int y = int(random.below(std::uint32_t(map_.rows())));
    switch (random.below(6)) {
    case 0:
        x = map_.maxwidth / 2;
        break;
    case 1:
        y = map_.maxheight / 2;
        break;
    case 2:
        (random.below(2) == 0 ? x : y) = 0;
        break;
    case 3:
        x = map_.maxwidth / 2;
        y = map_.maxheight / 2;
        break;
    case 4:
        y = std::min<int>(x, map_.maxheight);
        break;
    default:
        break;
    }
    return map_.cellIndex(x, y);
}

int TerrainPainter::paintShare(Terrain terrain, int target, Style style, const CellOrbits& orbits,
                               SplitMix64& random, PaintingAccount* account)
{
    // A few large patches, as a map maker paints them.
    const int own = target / orbits.largestSize();
    const int mean = std::max(smallestPatch, own / std::clamp(own / style.patchCells, 1, 4));
    int painted = 0;
    // Lines are taken back after each round; the next paints what they held elsewhere.
    for (int round = 0; round < 3 && painted < target; ++round) {
        const int before = painted;
        for (int failures = 0; painted < target && failures < 64;) {
            // No patch so small that it looks sprinkled: of a few seeds, the first whose
            // images get enough of what is left, or else the one whose images get most.
            int seed = -1;
            int left = 0;
            for (int drawn = 0; drawn < (painted == 0 ? 12 : 4) && left < smallestPatch; ++drawn) {
                const int next = drawSeed(random);
                const int images = orbits.size(next);
                const int nextLeft = (target - painted + images - 1) / images;
                if (seed < 0 || nextLeft > left) {
                    seed = next;
                    left = nextLeft;
                }
            }
            if (left < smallestPatch && painted > 0)
                break;
            const int size =
                std::max(smallestPatch, std::min(left, random.between(mean * 2 / 3, mean * 4 / 3)));
            const int added =
                growPatch(seed, size, terrain, style.stretch, orbits, random, account);
            painted += added;
            failures += added == 0;
        }
        for (int pass = 0; pass < 2; ++pass)
            painted += fillGaps(terrain, orbits, account);
        painted -= trimLines(terrain, orbits, account);
        if (painted <= before)
            break;
    }
    return painted;
}

int TerrainPainter::trimLines(Terrain terrain, const CellOrbits& orbits, PaintingAccount* account)
{
    const std::int16_t number = terrainNumber(terrain);
    int trimmed = 0;
    for (int cell = 0; cell < map_.cellCount(); ++cell) {
        const int x = cell % map_.columns();
        const int y = cell / map_.columns();
        if (map_.terrain[std::size_t(cell)] != number || inSquare(x, y))
            continue;
        const std::int16_t* images = orbits.orbit(cell);
        const int count = orbits.size(cell);
        bool free = true;
        for (int k = 0; k < count; ++k)
            free &= !(kept_[std::size_t(images[k])] & Locked);
        if (!free)
            continue;
        // Grass again cuts nothing off, and the account gets back what the cells took.
        for (int k = 0; k < count; ++k)
            map_.terrain[std::size_t(images[k])] = grass;
        if (account)
            account->takeBack(images, count);
        trimmed += count;
    }
    return trimmed;
}

int TerrainPainter::fillGaps(Terrain terrain, const CellOrbits& orbits, PaintingAccount* account)
{
    const std::int16_t number = terrainNumber(terrain);
    int painted = 0;
    for (int y = 0; y <= map_.maxheight; ++y) {
        for (int x = 0; x <= map_.maxwidth; ++x) {
            if (map_.terrainAt(x, y) != grass)
                continue;
            int sides = 0;
            int same = 0;
            for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                if (x + dx < 0 || y + dy < 0 || x + dx > map_.maxwidth || y + dy > map_.maxheight)
                    continue;
                ++sides;
                same += map_.terrainAt(x + dx, y + dy) == number;
            }
            if (same >= std::min(3, sides))
                painted += paintOrbit(map_.cellIndex(x, y), terrain, orbits, account);
        }
    }
    return painted;
}

int TerrainPainter::growPatch(int seed, int size, Terrain terrain, int stretch,
                              const CellOrbits& orbits, SplitMix64& random,
                              PaintingAccount* account)
{
    int painted = paintOrbit(seed, terrain, orbits, account);
    if (painted == 0)
        return 0;
    patch_.assign(1, seed);
    const int columns = map_.columns();
    const int seedX = seed % columns;
    const int seedY = seed / columns;
    const std::pair<int, int> direction = stretchDirections[random.below(stretchDirections.size())];
    const int alongX = direction.first;
    const int alongY = direction.second;
    // The cell nearest the seed is taken first, measured across the patch's line as many
    // times more as it is stretched: patches come out round or long, whole rather than
    // ragged; the few cells compared make their rims uneven.
    // Above that, a cell that leaves more cells sharing their terrain with every neighbour:
    // gaps are filled and lone cells left out, as a painter does.
    int own = 1;
    const auto score = [&](int cell) {
        const int dx = cell % columns - seedX;
        const int dy = cell / columns - seedY;
        const int along = alongX * dx + alongY * dy;
        const int across = alongY * dx - alongX * dy;
        const int spread = along * along + (1 + 3 * stretch) * across * across;
        return std::max(4, own / 2) * uniformGain(cell, terrainNumber(terrain)) - spread;
    };
    frontier_.clear();
    addNeighbours(seed);
    for (int attempts = 0; own < size && !frontier_.empty() && attempts < 8 * size; ++attempts) {
        std::size_t best = random.below(std::uint32_t(frontier_.size()));
        for (int other = 0; other < 3; ++other) {
            const std::size_t next = random.below(std::uint32_t(frontier_.size()));
            if (score(frontier_[next]) > score(frontier_[best]))
                best = next;
        }
        const int cell = frontier_[best];
        frontier_[best] = frontier_.back();
        frontier_.pop_back();
        const int added = paintOrbit(cell, terrain, orbits, account);
        if (added == 0)
            continue;
        painted += added;
        ++own;
        patch_.push_back(cell);
        addNeighbours(cell);
    }
    if (own == 1 || patchIsSolid(orbits))
        return painted;
    takeBackPatch(orbits, account);
    return 0;
}

void TerrainPainter::addNeighbours(int cell)
{
    const int columns = map_.columns();
    const int x = cell % columns;
    const int y = cell / columns;
    if (x > 0)
        frontier_.push_back(cell - 1);
    if (x < map_.maxwidth)
        frontier_.push_back(cell + 1);
    if (y > 0)
        frontier_.push_back(cell - columns);
    if (y < map_.maxheight)
        frontier_.push_back(cell + columns);
}

bool TerrainPainter::patchIsSolid(const CellOrbits& orbits) const
{
    // Three in four cells of a patch lie in a square of its terrain: a line of cells, which
    // rules and accounts can leave where nothing else may be painted, is no patch.
    int solid = 0;
    int cells = 0;
    for (const int cell : patch_) {
        for (int k = 0; k < orbits.size(cell); ++k) {
            const int image = orbits.orbit(cell)[k];
            solid += inSquare(image % map_.columns(), image / map_.columns());
            ++cells;
        }
    }
    return 4 * solid >= 3 * cells;
}

void TerrainPainter::takeBackPatch(const CellOrbits& orbits, PaintingAccount* account)
{
    for (auto cell = patch_.rbegin(); cell != patch_.rend(); ++cell) {
        const std::int16_t* images = orbits.orbit(*cell);
        for (int k = 0; k < orbits.size(*cell); ++k)
            map_.terrain[std::size_t(images[k])] = grass;
        if (account)
            account->takeBack(images, orbits.size(*cell));
    }
}

bool TerrainPainter::inSquare(int x, int y) const
{
    const std::int16_t terrain = map_.terrainAt(x, y);
    const auto same = [&](int column, int row) {
        return column >= 0 && row >= 0 && column <= map_.maxwidth && row <= map_.maxheight &&
               map_.terrainAt(column, row) == terrain;
    };
    for (const int dx : {-1, 1})
        for (const int dy : {-1, 1})
            if (same(x + dx, y) && same(x, y + dy) && same(x + dx, y + dy))
                return true;
    return false;
}

} // namespace quintaraz
