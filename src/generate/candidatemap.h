#pragma once

#include "generate/cellorbits.h"
#include "generate/generatoroptions.h"
#include "generate/splitmix64.h"
#include "map/gamemap.h"

#include <cstdint>
#include <vector>

namespace quintaraz {

class PairLedger;
class PaintingAccount;
class TerrainPainter;

/**
 * One attempt at a map: a start layout with its kits, then rock and water, trees and soil
 * patches and bare earth painted patch by patch, each drawn from a random stream of its own
 * for this candidate. Rock and water are kept even between the players as far as open ground
 * tells; trees and soil patches, exactly as balance will count them.
 */
class CandidateMap {
public:
    CandidateMap(const GeneratorOptions& options, int number);

    /**
     * Makes the map with the orbits of the layout's symmetry and of the symmetry bare earth
     * is painted with; false when no start layout fits.
     */
    bool make(const CellOrbits& layoutOrbits, const CellOrbits& earthOrbits);

    const GameMap& map() const { return map_; }
    GameMap takeMap() { return std::move(map_); }

private:
    SplitMix64 stream(std::uint64_t part) const;
    /** Paints rock and water, keeping A's and B's territory and space near each other. */
    void paintBlocking(TerrainPainter& painter, GridPoint a, GridPoint b, const CellOrbits& orbits);
    /** Paints trees or soil patches, keeping A's and B's count within 2R steps even. */
    void paintResource(TerrainPainter& painter, Terrain terrain, int share,
                       const std::vector<std::uint8_t>& nearA,
                       const std::vector<std::uint8_t>& nearB, const CellOrbits& orbits);
    /**
     * Paints patches of a resource where only the one of A and B who has less of it within
     * reach finds them, until the two are even or no more fits.
     */
    void evenOut(TerrainPainter& painter, Terrain terrain, const PairLedger& ledger,
                 const std::vector<std::uint8_t>& nearA, const std::vector<std::uint8_t>& nearB,
                 const CellOrbits& orbits, PaintingAccount& account);

    const GeneratorOptions& options_;
    int number_;
    GameMap map_;
};

} // namespace quintaraz
