// Reads maps that Tiled saved, TMX or JSON; see tiledreader.h.

#include "tiled/tiledreader.h"

#include "system/boundedread.h"
#include "tiled/gidmapper.h"
#include "tiled/tiledcells.h"
#include "tiled/tiledlayerdata.h"
#include "tiled/tiledparts.h"
#include "tiled/tmjreader.h"
#include "tiled/tmxreader.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace quintaraz {

using namespace tiled;

namespace {

/** A marker of the start layer: the object, its place in the layer, its player, its cell. */
struct Marker {
    const StartObject* object = nullptr;
    int index = 0;
    int player = -1;
    ProblemCell cell{};
};

/**
 * A problem of the start layer and where it goes in the list: with the object it is about,
 * in the layer's order, then by its rank among that object's problems.
 */
struct RankedProblem {
    int object = std::numeric_limits<int>::max(); // a player without a marker: after them all
    int rank = 0;
    MapProblem problem{};
};

/** The player that a marker's name says ("Jugador 3" is player 2), or -1. */
int playerNamed(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^Jugador (\\d)$"));
    const QRegularExpressionMatch match = pattern.match(name.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() - 1 : -1;
}

/** The cell under an object's centre, where the user sees it; kept in a sane range. */
ProblemCell objectCell(const StartObject& object)
{
    // A tile object hangs from its bottom-left corner, any other object from its top-left.
    const double middleY = object.gid ? object.y - object.height / 2 : object.y + object.height / 2;
    const auto cell = [](double pixels) {
        return qint64(std::clamp(std::floor(pixels / tileSize), -1e9, 1e9));
    };
    return {cell(object.x + object.width / 2), cell(middleY)};
}

/** A problem of the start layer about a marker of a player. */
MapProblem markerProblem(ProblemKind kind, const Marker& marker)
{
    return {.kind = kind,
            .player = marker.player,
            .cell = marker.cell,
            .layer = QLatin1String(startLayer),
            .object = marker.object->id,
            .name = QLatin1String(playerTileset)};
}

/**
 * The objects of the start layer that place a player, the first for each player, in the
 * layer's order; the problems of every object itself: no player's marker, a player's second,
 * named for another player, rotated, hidden.
 */
std::vector<Marker> markersOf(const TiledParts& parts, const GidMapper& gids, int players,
                              std::vector<RankedProblem>& problems, int& flipped)
{
    std::vector<Marker> markers;
    std::array<const Marker*, playerCount> placedBy{};
    markers.reserve(std::size_t(parts.starts.size()));
    for (int index = 0; index < parts.starts.size(); ++index) {
        const StartObject& object = parts.starts[index];
        const TileRef tile = gids.tileOf(object.gid.value_or(0));
        flipped += object.gid && tile.flipped;
        const int player = tile.tileset == players && tile.id < playerCount ? int(tile.id) : -1;
        const Marker marker{&object, index, player, objectCell(object)};
        if (!isPlayer(player)) {
            MapProblem problem = markerProblem(ProblemKind::NotAMarker, marker);
            problems.push_back({index, 0, std::move(problem)});
            continue;
        }
        if (const Marker* first = placedBy[std::size_t(player)]) {
            MapProblem problem = markerProblem(ProblemKind::MarkerTwice, *first);
            problem.otherObject = object.id;
            problem.otherCell = marker.cell;
            problems.push_back({index, 0, std::move(problem)});
            continue;
        }
        // Room for every object was kept: the pointer stays good.
        markers.push_back(marker);
        placedBy[std::size_t(player)] = &markers.back();
        if (const int named = playerNamed(object.name); named >= 0 && named != player) {
            MapProblem problem = markerProblem(ProblemKind::MarkerNamedOther, marker);
            problem.otherPlayer = named;
            problem.otherName = object.name;
            problems.push_back({index, 1, std::move(problem)});
        }
        if (object.rotation != 0) {
            MapProblem problem = markerProblem(ProblemKind::MarkerRotated, marker);
            problem.values[0] = object.rotation;
            problems.push_back({index, 2, std::move(problem)});
        }
        if (!object.visible)
            problems.push_back({index, 3, markerProblem(ProblemKind::MarkerHidden, marker)});
    }
    return markers;
}

/**
 * What the rules of starts say of the markers that place each player, as starts of a map of
 * the layer's size: a marker outside it, two players on one cell, a player without a marker.
 * The map receives the starts; markers outside it are kept just outside.
 */
std::vector<RankedProblem> startRuleProblems(const TiledParts& parts,
                                             const std::vector<Marker>& markers, GameMap& map)
{
    std::array<const Marker*, playerCount> markerOf{};
    const auto within = [](qint64 value, qint64 cells) {
        return std::int16_t(std::clamp<qint64>(value, -1, cells));
    };
    for (const Marker& marker : markers) {
        markerOf[std::size_t(marker.player)] = &marker;
        map.starts[std::size_t(marker.player)] = GridPoint{within(marker.cell.column, parts.width),
                                                           within(marker.cell.row, parts.height)};
    }
    std::vector<RankedProblem> ranked;
    for (MapProblem& problem : startProblems(map)) {
        problem.layer = QLatin1String(startLayer);
        const Marker* marker = markerOf[std::size_t(problem.player)];
        switch (problem.kind) {
        case ProblemKind::StartMissing:
            problem.name = QLatin1String(playerTileset);
            ranked.push_back({.problem = std::move(problem)});
            break;
        case ProblemKind::StartOutside:
            problem.object = marker->object->id;
            problem.cell = marker->cell;
            problem.values = {double(parts.width), double(parts.height)};
            ranked.push_back({marker->index, 4, std::move(problem)});
            break;
        case ProblemKind::StartsShareCell: {
            // A marker outside the map is told where it is, not beside whom.
            if (!map.contains(*map.starts[std::size_t(problem.player)]))
                break;
            // Said with the later of the two markers, beside the earlier one's player.
            const Marker* other = markerOf[std::size_t(problem.otherPlayer)];
            const std::pair<const Marker*, const Marker*> order =
                marker->index < other->index ? std::pair{marker, other} : std::pair{other, marker};
            ranked.push_back({order.second->index, 5 + order.first->player, std::move(problem)});
            break;
        }
        default:
            break; // a start on water or rock is a warning, said with the map's
        }
    }
    return ranked;
}

/** The problems of the start layer, in its order; the starts go into map. */
std::vector<MapProblem> startProblemsOf(const TiledParts& parts, const GidMapper& gids,
                                        GameMap& map, int& flipped)
{
    std::vector<RankedProblem> ranked;
    const std::vector<Marker> markers =
        markersOf(parts, gids, tilesetNamed(parts, playerTileset), ranked, flipped);
    for (RankedProblem& problem : startRuleProblems(parts, markers, map))
        ranked.push_back(std::move(problem));
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return std::pair(a.object, a.rank) < std::pair(b.object, b.rank);
    });
    std::vector<MapProblem> problems;
    for (RankedProblem& problem : ranked)
        problems.push_back(std::move(problem.problem));
    return problems;
}

/** The tilesets and layers that a map of ours is made of, each one missing said. */
std::vector<MapProblem> partsMissing(const TiledParts& parts)
{
    std::vector<MapProblem> problems;
    for (const char* name : {terrainTileset, playerTileset})
        if (tilesetNamed(parts, name) < 0)
            problems.push_back({.kind = ProblemKind::TilesetMissing, .name = QLatin1String(name)});
    for (const auto& [layers, missing, name] :
         {std::tuple{parts.terrainLayers, ProblemKind::TerrainLayerMissing, terrainLayer},
          {parts.startLayers, ProblemKind::StartLayerMissing, startLayer}}) {
        if (layers == 0)
            problems.push_back({.kind = missing, .layer = QLatin1String(name)});
        else if (layers > 1)
            problems.push_back({.kind = ProblemKind::LayerRepeated,
                                .count = layers,
                                .layer = QLatin1String(name)});
    }
    return problems;
}

/** What keeps one of our two layers from lying where the map is. */
std::vector<MapProblem> placementProblems(const LayerPlacement& placement, const char* layer)
{
    std::vector<MapProblem> problems;
    if (!placement.visible)
        problems.push_back({.kind = ProblemKind::LayerHidden, .layer = QLatin1String(layer)});
    if (placement.offsetX != 0 || placement.offsetY != 0)
        problems.push_back({.kind = ProblemKind::LayerMoved,
                            .values = {placement.offsetX, placement.offsetY},
                            .layer = QLatin1String(layer)});
    return problems;
}

/**
 * What refuses the map before its cells and starts are looked at: a shape or a size whose
 * layers are not read, a tileset or layer of ours missing, a terrain layer of another size.
 */
std::vector<MapProblem> wholeMapProblems(const TiledParts& parts)
{
    if (std::optional<MapProblem> shape = shapeProblem(parts))
        return {std::move(*shape)};
    const std::optional<MapProblem> size = sizeProblem(parts);
    if (!layersReadable(parts))
        return {*size};
    if (std::vector<MapProblem> missing = partsMissing(parts); !missing.empty())
        return missing;
    if (qsizetype(parts.terrain.size()) == parts.cells())
        return {};
    std::vector<MapProblem> problems;
    if (size)
        problems.push_back(*size);
    problems.push_back(
        {.kind = ProblemKind::Unreadable,
         .name = inLayer(QString::fromLatin1(terrainLayer),
                         countProblem(qsizetype(parts.terrain.size()), parts.cells()))});
    return problems;
}

/** The terrain layer's tiles as the map's terrains, or why some are none. */
std::vector<MapProblem> readTerrain(const TiledParts& parts, const GidMapper& gids, GameMap& map,
                                    int& flipped)
{
    const int terrains = tilesetNamed(parts, terrainTileset);
    map.resize(int(parts.width - 1), int(parts.height - 1));
    // Most cells hold a terrain's own number: told at a glance, before any lookup.
    const GidMapper::GidRange ours = gids.unflippedRange(terrains, terrainCount);
    for (qsizetype k = 0; k < parts.cells(); ++k) {
        const quint32 gid = parts.terrain[std::size_t(k)];
        if (ours.contains(gid)) {
            map.terrain[std::size_t(k)] = std::int16_t(gid - ours.first);
            continue;
        }
        const TileRef tile = gids.tileOf(gid);
        flipped += tile.flipped;
        map.terrain[std::size_t(k)] =
            std::int16_t(tile.tileset == terrains ? std::min<qint64>(tile.id, terrainCount) : -1);
    }
    return terrainCellProblems(parts, gids, terrains);
}

/**
 * What was read but is not kept, and what a game may not expect of the map, also beside
 * problems, so that all can be put right in one go. Its cells and the flips among them are
 * judged only when its terrain was read (map is null when not); what check says of the
 * starts is a problem here, but for a start on water or rock.
 */
std::vector<MapProblem> warningsOf(const TiledParts& parts, const GameMap* map, int flipped)
{
    std::vector<MapProblem> warnings;
    if (map && flipped > 0)
        warnings.push_back({.kind = ProblemKind::FlippedTiles, .count = flipped});
    for (MapProblem& problem : map ? mapProblems(*map) : std::vector<MapProblem>())
        if (problem.kind == ProblemKind::StartBlocked)
            warnings.push_back(std::move(problem));
    if (!parts.otherLayers.isEmpty())
        warnings.push_back({.kind = ProblemKind::LayersLeftOut,
                            .name = QLatin1String(terrainLayer),
                            .otherName = QLatin1String(startLayer),
                            .names = parts.otherLayers});
    return warnings;
}

TiledReading mapOf(const TiledParts& parts)
{
    TiledReading reading;
    reading.problems = wholeMapProblems(parts);
    if (!reading.problems.empty())
        return reading;
    // Every rule broken is said at once, so that all can be put right in one go. A map of a
    // size out of the editor's still has its starts judged, on a map of its own size.
    const GidMapper gids = gidMapperOf(parts);
    const std::optional<MapProblem> size = sizeProblem(parts);
    GameMap ofItsSize(int(parts.width - 1), int(parts.height - 1));
    GameMap& map = size ? ofItsSize : reading.map;
    const auto add = [&](std::vector<MapProblem> problems) {
        for (MapProblem& problem : problems)
            reading.problems.push_back(std::move(problem));
    };
    int flipped = 0;
    if (size)
        reading.problems.push_back(*size);
    else
        add(readTerrain(parts, gids, reading.map, flipped));
    add(placementProblems(parts.terrainPlacement, terrainLayer));
    add(placementProblems(parts.startPlacement, startLayer));
    for (const auto& [name, first] : parts.paintedLayers)
        reading.problems.push_back({.kind = ProblemKind::LayerPainted,
                                    .cell = ProblemCell{first % parts.width, first / parts.width},
                                    .layer = name,
                                    .name = QLatin1String(terrainLayer)});
    add(startProblemsOf(parts, gids, map, flipped));
    reading.warnings = warningsOf(parts, size ? nullptr : &reading.map, flipped);
    return reading;
}

} // namespace

TiledReading readTiledText(QByteArrayView text)
{
    // Tiled reads a file that begins with UTF-8's byte-order mark.
    if (text.startsWith(QByteArrayView("\xEF\xBB\xBF")))
        text = text.sliced(3);
    const QByteArray bytes = QByteArray::fromRawData(text.data(), text.size());
    TiledParts parts;
    const QByteArrayView start = text.trimmed();
    QString problem;
    if (start.startsWith('<'))
        problem = readTmxParts(bytes, parts);
    else if (start.startsWith('{'))
        problem = readTmjParts(bytes, parts);
    else
        problem = QStringLiteral("no es un mapa de Tiled (TMX o JSON)");
    if (problem.isEmpty())
        return mapOf(parts);
    TiledReading reading;
    // A layer that does not fit a size out of the editor's: the size is said first.
    if (parts.width > 0 && !shapeProblem(parts))
        if (std::optional<MapProblem> size = sizeProblem(parts))
            reading.problems.push_back(std::move(*size));
    reading.problems.push_back({.kind = ProblemKind::Unreadable, .name = problem});
    return reading;
}

TiledReading readTiledFile(const QString& path)
{
    const FileBytes file = readFileAtMost(path, largestFile);
    if (file.problem == FileProblem::None)
        return readTiledText(file.bytes);
    QString problem = fileProblemText(file.problem, file.systemError, largestFile,
                                      QStringLiteral("mapa para el editor"));
    if (file.problem != FileProblem::NotAPlainFile && file.problem != FileProblem::TooLarge)
        problem.prepend(QStringLiteral("no se puede leer: "));
    TiledReading reading;
    reading.problems.push_back({.kind = ProblemKind::Unreadable, .name = problem});
    return reading;
}

} // namespace quintaraz
