#include "generate/candidatemap.h"

#include "balance/balancefigures.h"
#include "balance/walkinggrid.h"
#include "generate/pairledger.h"
#include "generate/startlayout.h"
#include "generate/terrainpainter.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace quintaraz {

namespace {

/** The random streams of a candidate, one for each part of the work. */
enum Part : std::uint64_t {
    LayoutPart,
    WaterPart,
    RockPart,
    TreePart,
    SoilPart,
    EarthPart,
    EvenOutPart,
};

/** How many layouts a candidate draws before it gives up: some kits do not fit. */
constexpr int layoutDraws = 8;

/** The cells of a map that a share in percent of it comes to. */
int cellsOf(int share, int cells)
{
    return (share * cells + 50) / 100;
}

/**
 * How many of a resource every start finds beside it: a sixteenth of the share, up to most;
 * none where that would be too few to look like a patch.
 */
int kitSize(int share, int cells, int most)
{
    const int size = std::min(cellsOf(share, cells) / 16, most);
    return size >= 4 ? size : 0;
}

/** Painting as it changes figures in ledgers: taking from them (sign -1) or giving (+1). */
class LedgerAccount : public PaintingAccount {
public:
    LedgerAccount(std::vector<PairLedger*> ledgers, int sign)
        : ledgers_(std::move(ledgers))
        , sign_(sign)
    {
    }

    bool welcome(const std::int16_t* cells, int count) override
    {
        for (const PairLedger* ledger : ledgers_)
            if (!ledger->fits(cells, count, sign_))
                return false;
        for (PairLedger* ledger : ledgers_)
            ledger->record(cells, count, sign_);
        return true;
    }

    void takeBack(const std::int16_t* cells, int count) override
    {
        for (PairLedger* ledger : ledgers_)
            ledger->record(cells, count, -sign_);
    }

private:
    std::vector<PairLedger*> ledgers_;
    int sign_;
};

/** The cells of the map within so many steps of a start, walking as balance does: 1 each. */
std::vector<std::uint8_t> within(const GameMap& map, GridPoint start, int steps)
{
    const WalkingGrid grid(map, BalanceSettings().blocking);
    std::vector<std::uint16_t> distances(std::size_t(grid.size()), WalkingGrid::unreached);
    std::vector<int> order(std::size_t(grid.size()));
    grid.walk(grid.index(start.x, start.y), distances.data(), order.data());
    std::vector<std::uint8_t> marks(std::size_t(map.cellCount()));
    for (int y = 0; y < map.rows(); ++y)
        for (int x = 0; x < map.columns(); ++x)
            marks[std::size_t(map.cellIndex(x, y))] =
                distances[std::size_t(grid.index(x, y))] <= steps;
    return marks;
}

} // namespace

CandidateMap::CandidateMap(const GeneratorOptions& options, int number)
    : options_(options)
    , number_(number)
    , map_(options.columns - 1, options.rows - 1)
{
}

SplitMix64 CandidateMap::stream(std::uint64_t part) const
{
    return SplitMix64::stream(options_.seed, part, std::uint64_t(number_));
}

bool CandidateMap::make(const CellOrbits& layoutOrbits, const CellOrbits& earthOrbits)
{
    const int cells = map_.cellCount();
    const TerrainShares& shares = options_.shares;
    TerrainPainter painter(map_);
    SplitMix64 layoutRandom = stream(LayoutPart);
    std::optional<StartLayout> layout;
    for (int draw = 0; draw < layoutDraws && !layout; ++draw) {
        layout = StartLayout::draw(options_.columns, options_.rows, options_.symmetry,
                                   kitSize(shares.trees, cells, 16),
                                   kitSize(shares.soilPatches, cells, 8), layoutRandom);
        if (layout && !layout->placeOn(map_, painter, layoutOrbits, options_.symmetry)) {
            layout.reset();
            std::fill(map_.terrain.begin(), map_.terrain.end(), terrainNumber(Terrain::Grass));
            painter.reset();
        }
    }
    if (!layout)
        return false;

    paintBlocking(painter, layout->first, layout->second, layoutOrbits);
    // From here on nothing is painted that blocks a step: the cells within 2R steps are
    // those that balance will count.
    const int reach = 2 * BalanceSettings().radius;
    const std::vector<std::uint8_t> nearA = within(map_, layout->first, reach);
    const std::vector<std::uint8_t> nearB = within(map_, layout->second, reach);
    paintResource(painter, Terrain::Tree, shares.trees, nearA, nearB, layoutOrbits);
    paintResource(painter, Terrain::SoilPatch, shares.soilPatches, nearA, nearB, layoutOrbits);
    SplitMix64 earthRandom = stream(EarthPart);
    painter.paintShare(Terrain::BareEarth, cellsOf(shares.bareEarth, cells), {24, 1}, earthOrbits,
                       earthRandom, nullptr);
    return true;
}

void CandidateMap::paintBlocking(TerrainPainter& painter, GridPoint a, GridPoint b,
                                 const CellOrbits& orbits)
{
    // A's and B's territory and space on open ground, players 1 and 2; a rock or lake
    // takes from them what it covers.
    const BalanceFigures open = measureBalance(map_);
    std::vector<std::uint8_t> ownedByA(open.owners.size());
    std::vector<std::uint8_t> ownedByB(open.owners.size());
    for (std::size_t k = 0; k < open.owners.size(); ++k) {
        ownedByA[k] = open.owners[k] == 0;
        ownedByB[k] = open.owners[k] == 1;
    }
    PairLedger territory(std::move(ownedByA), std::move(ownedByB), open.players[0].territoryCells,
                         open.players[1].territoryCells, PairLedger::Tolerance::Slack);
    const int radius = BalanceSettings().radius;
    PairLedger space(within(map_, a, radius), within(map_, b, radius), open.players[0].space,
                     open.players[1].space, PairLedger::Tolerance::Slack);
    LedgerAccount account({&territory, &space}, -1);
    const int cells = map_.cellCount();
    SplitMix64 water = stream(WaterPart);
    painter.paintShare(Terrain::Water, cellsOf(options_.shares.water, cells), {24, 0}, orbits,
                       water, &account);
    SplitMix64 rock = stream(RockPart);
    painter.paintShare(Terrain::Rock, cellsOf(options_.shares.rock, cells), {24, 2}, orbits, rock,
                       &account);
}

void CandidateMap::paintResource(TerrainPainter& painter, Terrain terrain, int share,
                                 const std::vector<std::uint8_t>& nearA,
                                 const std::vector<std::uint8_t>& nearB, const CellOrbits& orbits)
{
    // What the kits hold already.
    int kits = 0;
    int a = 0;
    int b = 0;
    for (int k = 0; k < map_.cellCount(); ++k) {
        const bool here = map_.terrain[std::size_t(k)] == terrainNumber(terrain);
        kits += here;
        a += here && nearA[std::size_t(k)];
        b += here && nearB[std::size_t(k)];
    }
    PairLedger ledger(nearA, nearB, a, b, PairLedger::Tolerance::RatioOfNine);
    LedgerAccount account({&ledger}, +1);
    SplitMix64 random = stream(terrain == Terrain::Tree ? TreePart : SoilPart);
    painter.paintShare(terrain, cellsOf(share, map_.cellCount()) - kits,
                       {terrain == Terrain::Tree ? 36 : 24, 1}, orbits, random, &account);
    if (share > 0)
        evenOut(painter, terrain, ledger, nearA, nearB, orbits, account);
}

void CandidateMap::evenOut(TerrainPainter& painter, Terrain terrain, const PairLedger& ledger,
                           const std::vector<std::uint8_t>& nearA,
                           const std::vector<std::uint8_t>& nearB, const CellOrbits& orbits,
                           PaintingAccount& account)
{
    SplitMix64 random = stream(EvenOutPart);
    std::vector<int> poorerOnly;
    for (int round = 0; round < 32 && !ledger.even(); ++round) {
        const bool aIsPoorer = ledger.totalA() < ledger.totalB();
        const std::vector<std::uint8_t>& poorer = aIsPoorer ? nearA : nearB;
        const std::vector<std::uint8_t>& richer = aIsPoorer ? nearB : nearA;
        poorerOnly.clear();
        for (int k = 0; k < map_.cellCount(); ++k)
            if (poorer[std::size_t(k)] && !richer[std::size_t(k)] &&
                map_.terrain[std::size_t(k)] == terrainNumber(Terrain::Grass))
                poorerOnly.push_back(k);
        if (poorerOnly.empty())
            return;
        const int seed = poorerOnly[random.below(std::uint32_t(poorerOnly.size()))];
        const int gap = std::abs(ledger.totalA() - ledger.totalB());
        painter.growPatch(seed, std::max(1, gap / orbits.size(seed)), terrain, 1, orbits, random,
                          &account);
    }
}

} // namespace quintaraz
