// Feeds any bytes to the map reader and to the Tiled reader. Map reader: one of the five
// outcomes; on loaded the size lies in 16..99 and the map, opened in the editor, saved and
// read again, comes back the same. Tiled
// reader: a refusal with a reason, or a map that the map reader takes as it is, and that
// comes back the same through Tiled's formats. A map that loads is the same map as itself,
// and merged with a changed copy of itself on one side gives that copy, without conflict;
// its balance figures lie within what the map holds. The map generator takes options made of
// the same bytes (generatecheck.h).

#include "balance/balancefigures.h"
#include "editor/mapdocument.h"
#include "generatecheck.h"
#include "map/mapproblems.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "tiled/tiledreader.h"
#include "tiled/tiledwriter.h"
#include "versions/mapdiff.h"
#include "versions/mapmerge.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quintaraz;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkBalance(const GameMap& map, const std::uint8_t* data, std::size_t size);

void checkTiledReader(const std::uint8_t* data, std::size_t size)
{
    const TiledReading reading =
        readTiledText(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!reading.read())
        return;
    const GameMap& map = reading.map;
    check(mapSizeLimits.contains(map.maxwidth) && mapSizeLimits.contains(map.maxheight));
    const QByteArray text = mapText(map);
    const MapReading again =
        readMapText(std::string_view(text.constData(), std::size_t(text.size())));
    check(again.outcome == LoadOutcome::Loaded && mapText(again.map) == text);
    checkBalance(map, data, size);
    for (const TiledFormat format : {TiledFormat::Tmx, TiledFormat::Tmj}) {
        QString error;
        const TiledReading back = readTiledText(tiledText(map, format, &error));
        check(back.read() && mapText(back.map) == text);
    }
}

/** diff(a, a) is nothing; merge(a, b, a) and merge(a, a, b) are b, b being a changed by data. */
void checkDiffAndMerge(const GameMap& a, const std::uint8_t* data, std::size_t size)
{
    check(diffMaps(a, a).same());
    GameMap b = a;
    for (std::size_t k = 0; k < size && k < 16; ++k) {
        const int cell = int(data[k] * 7919u % unsigned(b.cellCount()));
        b.terrain[std::size_t(cell)] = std::int16_t(b.terrain[std::size_t(cell)] + data[k] + 1);
    }
    if (size > 0)
        b.starts[data[0] % playerCount] =
            GridPoint{std::int16_t(data[size - 1] % b.columns()), std::int16_t(data[0] % b.rows())};
    b.extraStarts.clear();
    const QByteArray expected = mapText(b);
    const MapMerge ours = mergeMaps(&a, b, a);
    check(ours.conflicts.empty() && mapText(ours.map) == expected);
    // Theirs is b: all of it, unless it puts a start where ours' was fine and no start may
    // be (b's own start on water); that start then stays ours'.
    const MapMerge theirs = mergeMaps(&a, a, b);
    for (const MergeConflict& conflict : theirs.conflicts)
        check(conflict.kind == MergeConflict::Kind::Land &&
              theirs.map.starts[conflict.player] == a.starts[conflict.player]);
    check(!theirs.conflicts.empty() || mapText(theirs.map) == expected);
    const bool sameCells =
        std::equal(a.terrain.begin(), a.terrain.begin() + a.cellCount(), b.terrain.begin());
    check(diffMaps(a, b).same() == (sameCells && a.starts == b.starts));
}

/** Balance, with what blocks taken from data: every figure within what the map holds. */
void checkBalance(const GameMap& map, const std::uint8_t* data, std::size_t size)
{
    BalanceSettings settings;
    if (size > 0) {
        for (int t = 0; t < terrainCount; ++t)
            settings.blocking[t] = data[0] & (1u << t);
        settings.radius = 1 + data[size - 1] % 40;
    }
    const BalanceFigures figures = measureBalance(map, settings);
    int passable = 0;
    int trees = 0;
    int soilPatches = 0;
    for (int k = 0; k < map.cellCount(); ++k) {
        const int terrain = map.terrain[k];
        passable += isTerrain(terrain) && !settings.blocking[terrain];
        trees += terrain == terrainNumber(Terrain::Tree);
        soilPatches += terrain == terrainNumber(Terrain::SoilPatch);
    }
    int territory = figures.disputedCells;
    int territoryTrees = 0;
    for (const PlayerBalance& player : figures.players) {
        check(player.walkable || (player.region == 0 && player.rivalsReached == 0));
        check(player.region <= passable && player.space <= player.region);
        for (std::size_t k = 0; k < 3; ++k) {
            check(player.trees[k] <= trees && player.soilPatches[k] <= soilPatches);
            check(k == 0 || (player.trees[k - 1] <= player.trees[k] &&
                             player.soilPatches[k - 1] <= player.soilPatches[k]));
        }
        territory += player.territoryCells;
        territoryTrees += player.territoryTrees;
        check(player.rivalsReached >= 0 && player.rivalsReached < playerCount);
        check(player.nearestRival.has_value() == (player.rivalsReached > 0));
        check(player.narrowestPass.has_value() == (player.rivalsReached > 0));
        if (player.nearestRival)
            check(*player.nearestRival <= *player.farthestRival &&
                  *player.farthestRival < player.region);
        if (player.narrowestPass)
            check(*player.narrowestPass >= 1 && *player.narrowestPass <= GameMap::gridSize &&
                  player.passCell && map.contains(*player.passCell));
    }
    check(territory <= passable && territoryTrees <= trees);
    for (const MeasureSpread& spread : figures.measures)
        check(spread.ratio >= 0 && spread.ratio <= 1 && spread.jain > 0 &&
              spread.jain <= 1.0000001);
    check(figures.owners.size() == std::size_t(map.cellCount()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    generatecheck::checkGeneratedMap(data, size);
    checkTiledReader(data, size);
    const MapReading reading =
        readMapText(std::string_view(reinterpret_cast<const char*>(data), size));
    switch (reading.outcome) {
    case LoadOutcome::Loaded:
        break;
    case LoadOutcome::SizeRejected:
    case LoadOutcome::FormatError:
    case LoadOutcome::ReadFailure:
    case LoadOutcome::NotReadable:
        // Why, whatever the file plainly is: a map after a byte-order mark, git's conflict
        // markers.
        check(!describeReading(reading).isEmpty());
        return 0;
    default:
        std::abort();
    }
    const GameMap& map = reading.map;
    check(mapSizeLimits.contains(map.maxwidth) && mapSizeLimits.contains(map.maxheight));
    check(map.terrain.size() == std::size_t(map.cellCount()));
    checkDiffAndMerge(map, data, size);
    checkBalance(map, data, size);

    // Opened in the editor, saved and read again into another map, it is the same map; a
    // start the editor left out makes a file that is refused.
    MapDocument document;
    document.open(map);
    const std::vector<MapProblem> problems = startProblems(document.map);
    const bool allPlaced = std::none_of(problems.begin(), problems.end(), [](const MapProblem& p) {
        return p.kind == ProblemKind::StartMissing;
    });
    const QByteArray text = mapText(document.map);
    const MapReading again =
        readMapText(std::string_view(text.constData(), std::size_t(text.size())));
    if (!allPlaced) {
        check(again.outcome == LoadOutcome::ReadFailure);
        return 0;
    }
    check(again.outcome == LoadOutcome::Loaded && again.map == document.map);
    return 0;
}
