#pragma once

#include "balance/balancefigures.h"
#include "generate/generatoroptions.h"
#include "map/gamemap.h"

namespace quintaraz {

/** What keeps a candidate map from being given out, the gravest first from the bottom. */
enum class CandidateFault {
    None,
    NotPainted,  // fewer than half the cells share their terrain with every neighbour
    NoResources, // a player has no tree or soil patch within 2R steps that the options ask for
    Unbalanced,  // balance does not say balanced
    NoLayout,    // no start layout fitted: starts too near, or no room for their kits
};

/** A generated map, or, when none of the candidates passes, the one that came closest. */
struct GeneratedMap {
    bool found = false;
    GameMap map;
    BalanceFigures figures;
    CandidateFault fault = CandidateFault::NoLayout;
    /** Candidate maps made, the one given out included. */
    int candidates = 0;
    /** Cells that share their terrain with each of their neighbours on the map. */
    int uniformCells = 0;
};

/**
 * Makes a map as the options ask: symmetric by construction, every player with the same
 * ground around its start, and candidates measured by balance until one is balanced, with
 * every other promise kept, or the tries run out.
 */
GeneratedMap generateMap(const GeneratorOptions& options);

} // namespace quintaraz
