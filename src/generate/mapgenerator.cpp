#include "generate/mapgenerator.h"

#include "generate/candidatemap.h"
#include "generate/cellorbits.h"
#include "generate/uniformcells.h"

namespace quintaraz {

namespace {

/** The transforms that the layout, and everything but bare earth, is made with. */
std::vector<Symmetry> layoutGenerators(GeneratedSymmetry symmetry)
{
    if (symmetry == GeneratedSymmetry::Octagonal)
        return {Symmetry::MirrorVertical, Symmetry::MirrorHorizontal, Symmetry::Diagonal};
    return {Symmetry::MirrorVertical, Symmetry::MirrorHorizontal};
}

/**
 * What bare earth is painted with: only the symmetry asked. Bare earth neither blocks nor
 * counts in any figure, so it makes the map look as asked without changing its balance.
 */
std::vector<Symmetry> earthGenerators(GeneratedSymmetry symmetry)
{
    switch (symmetry) {
    case GeneratedSymmetry::MirrorVertical:
        return {Symmetry::MirrorVertical};
    case GeneratedSymmetry::MirrorHorizontal:
        return {Symmetry::MirrorHorizontal};
    case GeneratedSymmetry::HalfTurn:
        return {Symmetry::HalfTurn};
    case GeneratedSymmetry::Quadrants:
    case GeneratedSymmetry::Octagonal:
        break;
    }
    return layoutGenerators(symmetry);
}

/** What keeps a map from being given out, if anything. */
CandidateFault faultOf(const GameMap& map, const BalanceFigures& figures, int uniformCells,
                       const TerrainShares& shares)
{
    if (figures.verdict != BalanceVerdict::Balanced)
        return CandidateFault::Unbalanced;
    for (const PlayerBalance& player : figures.players)
        if ((shares.trees > 0 && player.trees[1] == 0) ||
            (shares.soilPatches > 0 && player.soilPatches[1] == 0))
            return CandidateFault::NoResources;
    return 2 * uniformCells < map.cellCount() ? CandidateFault::NotPainted : CandidateFault::None;
}

/** Whether a candidate comes closer than the best so far to a map that may be given out. */
bool closer(CandidateFault fault, const BalanceFigures& figures, const GeneratedMap& best)
{
    if (fault != best.fault)
        return fault < best.fault;
    return figures.measure(figures.weakest).ratio >
           best.figures.measure(best.figures.weakest).ratio;
}

} // namespace

GeneratedMap generateMap(const GeneratorOptions& options)
{
    GeneratedMap best;
    const GameMap size(options.columns - 1, options.rows - 1);
    const CellOrbits layoutOrbits(size, layoutGenerators(options.symmetry));
    const CellOrbits earthOrbits(size, earthGenerators(options.symmetry));
    for (int number = 0; number < options.tries && !best.found; ++number) {
        best.candidates = number + 1;
        CandidateMap candidate(options, number);
        if (!candidate.make(layoutOrbits, earthOrbits))
            continue;
        BalanceFigures figures = measureBalance(candidate.map());
        const int uniform = uniformCellCount(candidate.map());
        const CandidateFault fault = faultOf(candidate.map(), figures, uniform, options.shares);
        if (!closer(fault, figures, best))
            continue;
        best.map = candidate.takeMap();
        best.figures = std::move(figures);
        best.fault = fault;
        best.uniformCells = uniform;
        best.found = fault == CandidateFault::None;
    }
    return best;
}

} // namespace quintaraz
