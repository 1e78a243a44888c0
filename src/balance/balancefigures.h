#pragma once

#include "balance/mapsymmetry.h"
#include "map/gamemap.h"
#include "map/mapproblems.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quintaraz {

/** What blocks a step, how far a player looks and how close is fair enough. */
struct BalanceSettings {
    /** Steps from a start within which its space and its resources count (R). */
    int radius = 12;
    /** Which known terrains block a step: rock and water. A number that names none always does. */
    std::array<bool, terrainCount> blocking{false, true, true, false, false, false};
    /** The least ratio of worst to best, in every measure, of a balanced map. */
    double threshold = 0.9;
};

/** Resources are counted within R, 2R and 4R steps. */
inline constexpr std::array<int, 3> radiusMultiples{1, 2, 4};

/** One player's figures, distances in steps; absent where there is nothing to measure. */
struct PlayerBalance {
    /** The start is on a passable cell of the map; a start that is not reaches nothing. */
    bool walkable = false;
    /** Why a start that is not walkable is not: none, outside the map, on a blocking cell. */
    std::optional<MapProblem> startProblem;
    int region = 0;                   // passable cells reached, the start's own included
    int space = 0;                    // passable cells within R steps
    std::array<int, 3> trees{};       // tree cells within R, 2R and 4R steps
    std::array<int, 3> soilPatches{}; // soil patches within R, 2R and 4R steps
    // What this player reaches before every other player: passable cells, trees, soil patches.
    int territoryCells = 0;
    int territoryTrees = 0;
    int territorySoilPatches = 0;
    std::optional<int> nearestRival;  // steps to the nearest start of another player reached
    std::optional<int> farthestRival; // and to the farthest
    int rivalsReached = 0;
    /** The width of the narrowest passage on the widest route to the nearest rival. */
    std::optional<int> narrowestPass;
    /** A cell of the map where that route is that narrow. */
    std::optional<GridPoint> passCell;
};

/** The five figures that are compared across the players, in the order of their names. */
enum class BalanceMeasure { Space, Trees, SoilPatches, Territory, NearestRival };
inline constexpr int balanceMeasureCount = 5;

/** One measure over the players: the worst (least) and best (greatest) value and their players. */
struct MeasureSpread {
    std::optional<int> worst;
    int worstPlayer = -1;
    std::optional<int> best;
    int bestPlayer = -1;
    double ratio = 1; // worst / best; 1 when both are 0
    double jain = 1;  // (sum x)^2 / (n sum x^2); 1 when all are 0
};

enum class BalanceVerdict {
    Balanced,   // every measure's ratio reaches the threshold
    Unbalanced, // some measure's does not
    Unfair,     // some start does not reach all the others, or is on no passable cell
};

/** The players' territory on a cell of the map, when it is nobody's alone. */
inline constexpr std::int8_t nobodysCell = -1;
inline constexpr std::int8_t disputedCell = -2;

/** How fair a map is to its eight players: the figures, as data, for any report. */
struct BalanceFigures {
    BalanceSettings settings;
    std::array<PlayerBalance, playerCount> players;
    /** Passable cells that two or more players reach first, at the same distance. */
    int disputedCells = 0;
    std::vector<SymmetryCheck> symmetries;
    std::array<MeasureSpread, balanceMeasureCount> measures;
    BalanceVerdict verdict = BalanceVerdict::Unfair;
    /** The measure of least ratio, the first of them on a tie: what a verdict names. */
    BalanceMeasure weakest = BalanceMeasure::Space;
    /**
     * The players whose starts reach one another: each player's group, numbered from 0 in
     * the order of their lowest player; -1 for a start that is not walkable.
     */
    std::array<int, playerCount> reachGroups{};
    /** Each map cell's owner, row by row: a player, nobodysCell or disputedCell. */
    std::vector<std::int8_t> owners;

    const MeasureSpread& measure(BalanceMeasure which) const { return measures[int(which)]; }
    /** The value of a measure for a player; absent for the nearest rival of one that has none. */
    std::optional<int> value(BalanceMeasure which, int player) const;
};

/** Measures a map: every grid is computed once, and every figure read from them. */
BalanceFigures measureBalance(const GameMap& map, const BalanceSettings& settings = {});

} // namespace quintaraz
