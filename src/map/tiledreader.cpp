// Reads maps that Tiled saved, TMX or JSON; see tiledmap.h.

#include "map/tiledmap.h"

#include "map/tiledparts.h"
#include "system/boundedread.h"
#include "system/systemerror.h"

#include <algorithm>
#include <cmath>

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
        if (gid >= terrains->firstGid && gid < terrainsEnd) {
            map.terrain[std::size_t(k)] = std::int16_t(tileInTileset(gid, terrains->firstGid));
            continue;
        }
        const QString cell = QStringLiteral("la celda de la columna %1, fila %2")
                                 .arg(k % parts.width)
                                 .arg(k / parts.width);
        const TilesetEntry* owner = gid == 0 ? nullptr : tilesetOf(parts, quint32(gid));
        if (!owner)
            return fail(QStringLiteral("%1 está vacía").arg(cell));
        if (owner != terrains)
            return fail(QStringLiteral("%1 tiene una casilla de «%2», no de «%3»")
                            .arg(cell, owner->name, QLatin1String(terrainTileset)));
        return fail(QStringLiteral("%1 tiene la casilla %2 de «%3», que no es ningún terreno")
                        .arg(cell)
                        .arg(tileInTileset(gid, owner->firstGid))
                        .arg(QLatin1String(terrainTileset)));
    }

    std::array<QString, playerCount> placedBy; // the object that placed each player
    for (const StartObject& object : parts.starts) {
        const quint32 gid = tileOf(object.gid.value_or(0));
        flipped += object.gid && isFlipped(*object.gid);
        const qint64 player = gid == 0 || tilesetOf(parts, gid) != players
                                  ? -1
                                  : tileInTileset(gid, players->firstGid);
        if (!isPlayer(int(std::clamp<qint64>(player, -1, playerCount))))
            return fail(QStringLiteral("el objeto %1 de «%2» no es el comienzo de ningún jugador")
                            .arg(object.id, QLatin1String(startLayer)));
        const QString whose = QStringLiteral("el comienzo del jugador %1").arg(player + 1);
        if (!placedBy[player].isEmpty())
            return fail(QStringLiteral("el jugador %1 tiene dos comienzos (objetos %2 y %3)")
                            .arg(player + 1)
                            .arg(placedBy[player], object.id));
        placedBy[player] = object.id;
        if (object.rotation != 0)
            return fail(QStringLiteral("%1 está girado %2 grados").arg(whose).arg(object.rotation));
        // The cell under the object's centre, where the user sees it.
        const double column = std::floor((object.x + object.width / 2) / tileSize);
        const double row = std::floor((object.y - object.height / 2) / tileSize);
        if (!(column >= 0 && column < GameMap::gridSize && row >= 0 && row < GameMap::gridSize))
            return fail(QStringLiteral("%1 cae fuera de las %2 x %2 celdas que puede tener un mapa")
                            .arg(whose)
                            .arg(GameMap::gridSize));
        map.starts[player] = GridPoint{std::int16_t(column), std::int16_t(row)};
    }
    for (int p = 0; p < playerCount; ++p)
        if (placedBy[p].isEmpty())
            return fail(QStringLiteral("falta el comienzo del jugador %1").arg(p + 1));
    if (flipped > 0)
        reading.warnings << QStringLiteral("%1 casillas o comienzos estaban girados o volteados; "
                                           "el editor los guarda sin girar")
                                .arg(flipped);
    return reading;
}

} // namespace

TiledReading readTiledText(QByteArrayView text)
{
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
