#include "editor/mapdocument.h"

#include "map/mapproblems.h"

namespace quintaraz {

void MapDocument::newMap(int maxwidth, int maxheight)
{
    map = GameMap(maxwidth, maxheight, Terrain::Grass);
    mapLoaded = true;
}

void MapDocument::open(GameMap opened)
{
    map = std::move(opened);
    for (const MapProblem& problem : startProblems(map)) {
        if (problem.kind == ProblemKind::StartOutside)
            map.starts[std::size_t(problem.player)].reset();
        if (problem.kind == ProblemKind::StartsShareCell)
            map.starts[std::size_t(problem.player)].reset();
    }
    map.extraStarts.clear();
    mapLoaded = true;
}

} // namespace quintaraz
