#pragma once

#include "generate/cellorbits.h"
#include "generate/splitmix64.h"
#include "map/gamemap.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quintaraz {

/**
 * A caller's account of what painting gives each player: asked before an orbit is kept, and
 * told when a patch is taken back.
 */
class PaintingAccount {
public:
    virtual ~PaintingAccount() = default;
    /** Whether to keep an orbit just painted; keeping it is the account's to record. */
    virtual bool welcome(const std::int16_t* cells, int count) = 0;
    /** An orbit kept before is grass again. */
    virtual void takeBack(const std::int16_t* cells, int count) = 0;
};

/**
 * Paints terrain over a map of grass in patches, as a map maker does, a whole orbit of cells
 * at a time so that the map stays exactly symmetric. Rock and water never cut a passable
 * cell off from the others: every passable cell stays reachable from every other, whatever
 * is painted.
 */
class TerrainPainter {
public:
    explicit TerrainPainter(GameMap& map);

    /** Forgets every cell locked or kept open, for a map of grass again. */
    void reset() { std::fill(kept_.begin(), kept_.end(), 0); }

    /** A cell that keeps its terrain from now on: a start, a kit. */
    void lock(int cell) { kept_[std::size_t(cell)] |= Locked; }
    /** A cell where nothing may block a step: the open ground around a start, a road. */
    void keepOpen(int cell) { kept_[std::size_t(cell)] |= Open; }

    /** How a terrain is painted. */
    struct Style {
        /** The fewest cells of its own a patch gets while the share has them; up to four such. */
        int patchCells = 24;
        /** 0 for round patches; more for patches longer along a line. */
        int stretch = 0;
    };

    /**
     * Paints a terrain in a few large patches until the map holds about target more cells of
     * it: a little short, when what is left is too small for a patch or lies in lines, or a
     * little beyond, when the whole share is. Gives how many cells it painted.
     */
    int paintShare(Terrain terrain, int target, Style style, const CellOrbits& orbits,
                   SplitMix64& random, PaintingAccount* account);

    /**
     * Grows a patch of terrain from a cell until it holds about size cells of its own
     * (every orbit painted whole); gives how many cells it painted in all. A patch that
     * comes out thin, as a line rather than a shape, is taken back whole.
     */
    int growPatch(int seed, int size, Terrain terrain, int stretch, const CellOrbits& orbits,
                  SplitMix64& random, PaintingAccount* account);

    /**
     * Paints an orbit with terrain where each of its cells is grass and free to paint, a
     * blocking terrain cuts nothing off and the account, if any, welcomes it; gives how many
     * cells it painted, 0 when it left the map as it was.
     */
    int paintOrbit(int cell, Terrain terrain, const CellOrbits& orbits, PaintingAccount* account);

private:
    enum Kept : std::uint8_t { Locked = 1, Open = 2 };

    /** A cell to begin a patch at: often where a patch's images meet, or at an edge. */
    int drawSeed(SplitMix64& random) const;
    /**
     * Fills the gaps of a terrain's patches: each grass cell beside that terrain on three of
     * its sides, or on every side it has at an edge, gets it where it may.
     */
    int fillGaps(Terrain terrain, const CellOrbits& orbits, PaintingAccount* account);
    /**
     * Takes back what of a terrain lies in no square of two by two cells of it: the lines and
     * lone cells that rules and accounts leave where nothing else may be painted.
     */
    int trimLines(Terrain terrain, const CellOrbits& orbits, PaintingAccount* account);
    /** Whether a terrain number blocks a step, as balance walks: a number of none does. */
    bool blocksStep(int number) const
    {
        return !isTerrain(number) || blocking_[std::size_t(number)];
    }
    /** Whether a cell blocks a step; the cells around the map do. */
    bool blocksAt(int x, int y) const;
    /** Whether making this passable cell block leaves its passable neighbours joined. */
    bool blockingKeepsJoined(int cell) const;
    /** How many more cells around a cell would be uniform if it held terrain. */
    int uniformGain(int cell, std::int16_t terrain);
    /** Puts the cells beside a cell of the patch on the frontier it may grow into. */
    void addNeighbours(int cell);
    /** Whether the patch grown last is a shape rather than a line. */
    bool patchIsSolid(const CellOrbits& orbits) const;
    /** Takes the patch grown last back, every orbit of it, last painted first. */
    void takeBackPatch(const CellOrbits& orbits, PaintingAccount* account);
    /** Whether a cell lies in a square of two by two cells of its terrain. */
    bool inSquare(int x, int y) const;

    GameMap& map_;
    std::vector<std::uint8_t> kept_;
    std::array<bool, terrainCount> blocking_;
    std::vector<int> frontier_;
    std::vector<int> patch_;
};

} // namespace quintaraz
