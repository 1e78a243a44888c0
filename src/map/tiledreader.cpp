// Reads maps that Tiled saved, TMX or JSON; see tiledmap.h.

#include "map/tiledmap.h"

#include "map/mapwarnings.h"
#include "map/tiledlayerdata.h"
#include "map/tiledparts.h"
#include "map/tilenumbers.h"
#include "system/boundedread.h"
#include "system/systemerror.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace quintaraz {

using namespace tiled;

namespace {

QString layerProblem(int layers, const char* kind, const char* name)
{
    if (layers == 0)
        return QStringLiteral("falta la capa de %1 «%2»")
            .arg(QLatin1String(kind), QLatin1String(name));
    if (layers > 1)
        return QStringLiteral("hay %1 capas «%2»").arg(layers).arg(QLatin1String(name));
    return {};
}

QString cellPlace(qint64 column, qint64 row)
{
    return QStringLiteral("columna %1, fila %2").arg(column).arg(row);
}

/** The problem of a cell whose tile is no terrain, or nothing. */
QString cellProblem(const TiledParts& parts, const TilesetEntry& terrains, qint64 gid, qsizetype k)
{
    const QString cell =
        QStringLiteral("la celda de la %1").arg(cellPlace(k % parts.width, k / parts.width));
    const TilesetEntry* owner = gid == 0 ? nullptr : tilesetOf(parts, quint32(gid));
    if (!owner)
        return QStringLiteral("%1 está vacía").arg(cell);
    if (owner != &terrains && owner->name == terrains.name)
        // Two tilesets of one name: said by where each begins.
        return QStringLiteral("%1 tiene una casilla del juego «%2» que empieza en el número %3, "
                              "no del «%4» que empieza en el %5")
            .arg(cell, owner->name)
            .arg(owner->firstGid)
            .arg(terrains.name)
            .arg(terrains.firstGid);
    if (owner != &terrains)
        return QStringLiteral("%1 tiene una casilla de «%2», no de «%3»")
            .arg(cell, owner->name, QLatin1String(terrainTileset));
    return QStringLiteral("%1 tiene la casilla %2 de «%3», que no es ningún terreno")
        .arg(cell)
        .arg(tileInTileset(gid, owner->firstGid))
        .arg(QLatin1String(terrainTileset));
}

/** What keeps one of our two layers from lying where the map is, each with what to do. */
void placementProblems(const LayerPlacement& placement, const char* layer, QStringList& problems)
{
    if (!placement.visible)
        problems << QStringLiteral("la capa «%1» está oculta: muéstrala (el ojo del panel Capas)")
                        .arg(QLatin1String(layer));
    if (placement.offsetX != 0 || placement.offsetY != 0)
        problems << QStringLiteral("la capa «%1» está desplazada %2, %3 píxeles: pon a 0 su "
                                   "desplazamiento en sus propiedades")
                        .arg(QLatin1String(layer))
                        .arg(placement.offsetX)
                        .arg(placement.offsetY);
}

/** The player that a marker's name says ("Jugador 3" is player 2), or -1. */
int playerNamed(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^Jugador (\\d)$"));
    const QRegularExpressionMatch match = pattern.match(name.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() - 1 : -1;
}

/**
 * The eight starts from the start layer, into map; every rule that the objects break, each
 * with its player, its cell and what to do in Tiled.
 */
QStringList readStarts(const TiledParts& parts, const TilesetEntry& players, GameMap& map,
                       int& flipped)
{
    QStringList problems;
    const QString layer = QLatin1String(startLayer);
    // The object that placed each player, by its id, which a hand-made file may leave out.
    std::array<std::optional<QString>, playerCount> placedBy;
    for (const StartObject& object : parts.starts) {
        const quint32 gid = tileOf(object.gid.value_or(0));
        flipped += object.gid && isFlipped(*object.gid);
        const qint64 player = gid == 0 || tilesetOf(parts, gid) != &players
                                  ? -1
                                  : tileInTileset(gid, players.firstGid);
        if (!isPlayer(int(std::clamp<qint64>(player, -1, playerCount)))) {
            problems << QStringLiteral("el objeto %1 de «%2» no es el comienzo de ningún jugador: "
                                       "bórralo o ponle una casilla de «%3»")
                            .arg(object.id, layer, QLatin1String(playerTileset));
            continue;
        }
        const QString whose = QStringLiteral("el comienzo del jugador %1").arg(player + 1);
        if (placedBy[player]) {
            problems << QStringLiteral("el jugador %1 tiene dos comienzos (objetos %2 y %3) en "
                                       "«%4»: borra uno")
                            .arg(player + 1)
                            .arg(*placedBy[player], object.id, layer);
            continue;
        }
        placedBy[player] = object.id;
        if (const int named = playerNamed(object.name); named >= 0 && named != player)
            problems << QStringLiteral("el objeto %1 de «%2» se llama «%3» pero su casilla es la "
                                       "del jugador %4: cambia su nombre o su casilla")
                            .arg(object.id, layer, object.name)
                            .arg(player + 1);
        if (object.rotation != 0)
            problems << QStringLiteral("%1 está girado %2 grados en «%3»: pon su giro a 0")
                            .arg(whose)
                            .arg(object.rotation)
                            .arg(layer);
        if (!object.visible)
            problems << QStringLiteral("%1 está oculto en «%2»: muéstralo (su casilla en el "
                                       "panel Objetos)")
                            .arg(whose, layer);
        // The cell under the object's centre, where the user sees it.
        const double column = std::floor((object.x + object.width / 2) / tileSize);
        const double row = std::floor((object.y - object.height / 2) / tileSize);
        if (!(column >= 0 && column < double(parts.width) && row >= 0 &&
              row < double(parts.height))) {
            problems << QStringLiteral("%1 cae fuera del mapa de %2 x %3 celdas, en la %4 de "
                                       "«%5»: arrástralo dentro del mapa")
                            .arg(whose)
                            .arg(parts.width)
                            .arg(parts.height)
                            .arg(cellPlace(qint64(std::clamp(column, -1e9, 1e9)),
                                           qint64(std::clamp(row, -1e9, 1e9))),
                                 layer);
            continue;
        }
        map.starts[player] = GridPoint{std::int16_t(column), std::int16_t(row)};
        for (int other = 0; other < playerCount; ++other)
            if (other != player && map.starts[other] && map.starts[other]->x == column &&
                map.starts[other]->y == row)
                problems << QStringLiteral("los jugadores %1 y %2 comienzan en la misma celda "
                                           "(%3) de «%4»: mueve uno de los dos")
                                .arg(std::min<qint64>(other, player) + 1)
                                .arg(std::max<qint64>(other, player) + 1)
                                .arg(cellPlace(qint64(column), qint64(row)), layer);
    }
    for (int p = 0; p < playerCount; ++p)
        if (!placedBy[p])
            problems << QStringLiteral("falta el comienzo del jugador %1 en «%2»: pon su casilla "
                                       "de «%3» en el mapa")
                            .arg(p + 1)
                            .arg(layer, QLatin1String(playerTileset));
    return problems;
}

TiledReading mapOf(const TiledParts& parts)
{
    TiledReading reading;
    const auto fail = [&](const QString& problem) {
        reading.error = problem;
        return reading;
    };
    if (QString problem = sizeProblem(parts); !problem.isEmpty())
        return fail(problem);
    const TilesetEntry* terrains = tilesetNamed(parts, terrainTileset);
    const TilesetEntry* players = tilesetNamed(parts, playerTileset);
    for (const auto& [tileset, name] :
         {std::pair{terrains, terrainTileset}, {players, playerTileset}})
        if (!tileset)
            return fail(QStringLiteral("falta el juego de casillas «%1»").arg(QLatin1String(name)));
    if (QString problem = layerProblem(parts.terrainLayers, "casillas", terrainLayer);
        !problem.isEmpty())
        return fail(problem);
    if (QString problem = layerProblem(parts.startLayers, "objetos", startLayer);
        !problem.isEmpty())
        return fail(problem);
    if (qsizetype(parts.terrain.size()) != parts.cells())
        return fail(inLayer(QString::fromLatin1(terrainLayer),
                            countProblem(qsizetype(parts.terrain.size()), parts.cells())));

    GameMap& map = reading.map;
    map.maxwidth = std::int16_t(parts.width - 1);
    map.maxheight = std::int16_t(parts.height - 1);
    int flipped = 0;
    // The tile numbers that are terrains: from the tileset's first, up to the next tileset's.
    qint64 terrainsEnd = terrains->firstGid + terrainCount;
    for (const TilesetEntry& tileset : parts.tilesets)
        if (tileset.firstGid > terrains->firstGid)
            terrainsEnd = std::min(terrainsEnd, tileset.firstGid);
    for (qsizetype k = 0; k < parts.cells(); ++k) {
        const quint32 written = parts.terrain[std::size_t(k)];
        const qint64 gid = tileOf(written);
        flipped += isFlipped(written);
        if (gid >= terrains->firstGid && gid < terrainsEnd)
            map.terrain[std::size_t(k)] = std::int16_t(tileInTileset(gid, terrains->firstGid));
        else
            return fail(cellProblem(parts, *terrains, gid, k));
    }

    // Every rule broken is said at once, so that all can be put right in one go.
    QStringList problems;
    placementProblems(parts.terrainPlacement, terrainLayer, problems);
    placementProblems(parts.startPlacement, startLayer, problems);
    for (const auto& [name, first] : parts.paintedLayers)
        problems << QStringLiteral("la capa «%1» tiene casillas pintadas (la primera en la %2), "
                                   "que el mapa no guarda: mézclala con «%3» (Capa > Mezclar "
                                   "Capas hacía Abajo, en inglés Layer > Merge Layer Down) o "
                                   "bórrala")
                        .arg(name, cellPlace(first % parts.width, first / parts.width),
                             QLatin1String(terrainLayer));
    problems << readStarts(parts, *players, map, flipped);
    if (!problems.isEmpty())
        return fail(problems.join(u'\n'));

    if (flipped > 0)
        reading.warnings << QStringLiteral("%1 casillas o comienzos estaban girados o volteados; "
                                           "el editor los guarda sin girar")
                                .arg(flipped);
    // What check says of the map: a start on water or rock.
    reading.warnings << mapWarnings(map);
    if (!parts.otherLayers.isEmpty())
        reading.warnings << QStringLiteral("%1 «%2» no pasa%3 al mapa: solo se guardan «%4» y «%5»")
                                .arg(parts.otherLayers.size() == 1 ? QStringLiteral("la capa")
                                                                   : QStringLiteral("las capas"),
                                     parts.otherLayers.join(QStringLiteral("», «")),
                                     parts.otherLayers.size() == 1 ? QString()
                                                                   : QStringLiteral("n"),
                                     QLatin1String(terrainLayer), QLatin1String(startLayer));
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
    if (!problem.isEmpty()) {
        TiledReading reading;
        reading.error = problem;
        return reading;
    }
    return mapOf(parts);
}

TiledReading readTiledFile(const QString& path)
{
    const FileBytes file = readFileAtMost(path, largestFile);
    TiledReading reading;
    switch (file.problem) {
    case FileProblem::None:
        return readTiledText(file.bytes);
    case FileProblem::NotAPlainFile:
        reading.error = QStringLiteral("no es un archivo normal");
        break;
    case FileProblem::TooLarge:
        reading.error =
            QStringLiteral("mide más de %1 MiB y ningún mapa para el editor es tan grande")
                .arg(largestFile / (1024 * 1024));
        break;
    default:
        reading.error = QStringLiteral("no se puede leer: ") + systemErrorText(file.systemError);
    }
    return reading;
}

} // namespace quintaraz
