#pragma once

#include <cstdint>

namespace quintaraz {

/** The symmetries a generated map is made with; each is exact on the grid. */
enum class GeneratedSymmetry {
    MirrorVertical,   // (x, y) -> (W - x, y): four pairs of players
    MirrorHorizontal, // (x, y) -> (x, H - y): four pairs of players
    HalfTurn,         // (x, y) -> (W - x, H - y): four pairs of players
    Quadrants,        // both mirrors: two orbits of four players
    Octagonal,        // all eight transforms of a square: one orbit of eight players
};

/** What a map of that size is made with when no symmetry is asked: octagonal where it fits. */
GeneratedSymmetry automaticSymmetry(int columns, int rows);

/** Whether a symmetry fits a map of that size: the octagonal one needs a square. */
bool symmetryFits(GeneratedSymmetry symmetry, int columns, int rows);

/** Each terrain but grass, in percent of the map's cells; grass is the rest. */
struct TerrainShares {
    int water = 6;
    int rock = 5;
    int trees = 8;
    int soilPatches = 2;
    int bareEarth = 4;

    int blocking() const { return water + rock; }
    int total() const { return water + rock + trees + soilPatches + bareEarth; }
};

/** The most of the map that may block a step, and the most that may be other than grass. */
inline constexpr int largestBlockingShare = 40;
inline constexpr int largestTerrainShare = 90;

/** The largest seed: every seed is a whole number that JSON and JavaScript hold exactly. */
inline constexpr std::uint64_t largestSeed = (std::uint64_t(1) << 53) - 1;

/** The most candidates a search may be asked to make. */
inline constexpr int mostTries = 10000;

/** What a map is made from; the same options make the same map, byte for byte. */
struct GeneratorOptions {
    int columns = 60;
    int rows = 40;
    std::uint64_t seed = 0;
    GeneratedSymmetry symmetry = GeneratedSymmetry::Quadrants;
    TerrainShares shares;
    /** The most candidate maps made before giving up. */
    int tries = 100;
};

/**
 * The least distance in steps, along rows and columns, between two starts of a generated
 * map: a third of its shorter side. A walk between them is never shorter.
 */
constexpr int leastStartDistance(int columns, int rows)
{
    return (columns < rows ? columns : rows) / 3;
}

} // namespace quintaraz
