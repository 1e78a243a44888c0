// The map generator fed options made of the fuzzer's bytes, within what the command line
// takes: whatever they are, a map it gives out keeps every promise, and anything else is a
// refusal, never a crash or a hang.

#pragma once

#include "balance/balancefigures.h"
#include "generate/mapgenerator.h"
#include "generate/uniformcells.h"
#include "map/mapproblems.h"
#include "map/mapreading.h"
#include "map/maptext.h"

#include <cstdint>
#include <cstdlib>

namespace generatecheck {

using namespace quintaraz;

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

/** Whether a map made with a kind of symmetry must be the same under a transform. */
inline bool exactUnder(GeneratedSymmetry kind, Symmetry symmetry)
{
    switch (kind) {
    case GeneratedSymmetry::MirrorVertical:
        return symmetry == Symmetry::MirrorVertical;
    case GeneratedSymmetry::MirrorHorizontal:
        return symmetry == Symmetry::MirrorHorizontal;
    case GeneratedSymmetry::HalfTurn:
        return symmetry == Symmetry::HalfTurn;
    case GeneratedSymmetry::Quadrants:
        return symmetry == Symmetry::MirrorVertical || symmetry == Symmetry::MirrorHorizontal ||
               symmetry == Symmetry::HalfTurn;
    case GeneratedSymmetry::Octagonal:
        return true;
    }
    return true;
}

/** Options from bytes: the sizes, the symmetry, the shares, a few tries, the seed. */
inline bool optionsOf(const std::uint8_t* data, std::size_t size, GeneratorOptions& options)
{
    if (size < 16)
        return false;
    options.columns = 17 + data[1] % 84;
    options.rows = data[2] % 4 == 0 ? options.columns : 17 + data[3] % 84;
    options.symmetry = GeneratedSymmetry(data[4] % 5);
    if (!symmetryFits(options.symmetry, options.columns, options.rows))
        options.symmetry = automaticSymmetry(options.columns, options.rows);
    options.shares = {data[5] % 41, data[6] % 41, data[7] % 41, data[8] % 21, data[9] % 41};
    if (options.shares.blocking() > largestBlockingShare ||
        options.shares.total() > largestTerrainShare)
        return false;
    options.tries = 1 + data[10] % 2;
    options.seed = 0;
    for (std::size_t k = 11; k < 16; ++k)
        options.seed = options.seed << 8 | data[k];
    return true;
}

inline void checkGeneratedMap(const std::uint8_t* data, std::size_t size)
{
    // One input in sixteen: the readers keep most of the time.
    GeneratorOptions options;
    if (size == 0 || data[0] % 16 != 0 || !optionsOf(data, size, options))
        return;
    const GeneratedMap generated = generateMap(options);
    require(generated.candidates >= 1 && generated.candidates <= options.tries);
    if (!generated.found)
        return;
    const GameMap& map = generated.map;
    const QByteArray text = mapText(map);
    const MapReading again =
        readMapText(std::string_view(text.constData(), std::size_t(text.size())));
    require(again.outcome == LoadOutcome::Loaded && again.map == map);
    require(mapProblems(map).empty());
    require(map.columns() == options.columns && map.rows() == options.rows);
    const BalanceFigures figures = measureBalance(map);
    require(figures.verdict == BalanceVerdict::Balanced);
    require(2 * uniformCellCount(map) >= map.cellCount());
    const int least = leastStartDistance(options.columns, options.rows);
    for (int g = 0; g < playerCount; ++g) {
        require(options.shares.trees == 0 || figures.players[g].trees[1] > 0);
        require(options.shares.soilPatches == 0 || figures.players[g].soilPatches[1] > 0);
        require(*figures.players[g].nearestRival >= least);
    }
    for (const SymmetryCheck& check : figures.symmetries)
        require(!exactUnder(options.symmetry, check.symmetry) || check.exact());
}

} // namespace generatecheck
