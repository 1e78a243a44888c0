// Reads maps that Tiled saved, TMX or JSON; see tiledmap.h.

#include "tiled/tiledformat.h"

#include "map/mapproblems.h"
#include "map/problemtext.h"
#include "system/boundedread.h"
#include "system/systemerror.h"
#include "tiled/gidmapper.h"
#include "tiled/tiledcells.h"
#include "tiled/tiledlayerdata.h"
#include "tiled/tiledparts.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace quintaraz {

using namespace tiled;

namespace {

QString layerProblem(int layers, const char* kind, const char* name, const char* fix)
{
    if (layers == 0)
        return QStringLiteral("falta la capa de %1 «%2»: %3")
            .arg(QLatin1String(kind), QLatin1String(name), QString::fromUtf8(fix));
    if (layers > 1)
        return QStringLiteral("hay %1 capas «%2»: deja solo una")
            .arg(layers)
            .arg(QLatin1String(name));
    return {};
}

/** What keeps one of our two layers from lying where the map is, each with what to do. */
void placementProblems(const LayerPlacement& placement, const char* layer, QStringList& problems)
{
    if (!placement.visible)
        problems << QStringLiteral("la capa «%1» está oculta: muéstrala con su ojo en el panel "
                                   "Capas (Layers)")
                        .arg(QLatin1String(layer));
    if (placement.offsetX != 0 || placement.offsetY != 0)
        problems << QStringLiteral("la capa «%1» está desplazada %2, %3 píxeles: pon a 0 su "
                                   "Desplazamiento Horizontal y Vertical (Horizontal and "
                                   "Vertical Offset) en el panel Atributos (Properties)")
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

/** The cell under an object's centre, where the user sees it; kept in a sane range. */
std::pair<qint64, qint64> objectCell(const StartObject& object)
{
    // A tile object hangs from its bottom-left corner, any other object from its top-left.
    const double middleY = object.gid ? object.y - object.height / 2 : object.y + object.height / 2;
    const auto cell = [](double pixels) {
        return qint64(std::clamp(std::floor(pixels / tileSize), -1e9, 1e9));
    };
    return {cell(object.x + object.width / 2), cell(middleY)};
}

/** "en la columna 3, fila 4" for an object's cell, which may lie outside the map. */
QString objectPlace(const StartObject& object)
{
    const auto [column, row] = objectCell(object);
    return QStringLiteral("en la ") + cellPlace(column, row);
}

/**
 * The eight starts from the start layer, into map when keep is set (a map of the editor's
 * size); every rule that the objects break, each with its player, its cell and what to do
 * in Tiled.
 */
QStringList readStarts(const TiledParts& parts, const TilesetEntry& players, GameMap& map,
                       bool keep, int& flipped)
{
    QStringList problems;
    const QString layer = QLatin1String(startLayer);
    const QString tileset = QLatin1String(playerTileset);
    // The object that placed each player, which a hand-made file may leave without an id.
    std::array<const StartObject*, playerCount> placedBy{};
    std::array<std::optional<std::pair<qint64, qint64>>, playerCount> cells;
    for (const StartObject& object : parts.starts) {
        const quint32 gid = tileOf(object.gid.value_or(0));
        flipped += object.gid && isFlipped(*object.gid);
        const qint64 player = gid == 0 || tilesetOf(parts, gid) != &players
                                  ? -1
                                  : tileInTileset(gid, players.firstGid);
        if (!isPlayer(int(std::clamp<qint64>(player, -1, playerCount)))) {
            problems << QStringLiteral("el objeto %1 de «%2», %3, no es el marcador de ningún "
                                       "jugador: bórralo o dale un patrón de «%4»")
                            .arg(object.id, layer, objectPlace(object), tileset);
            continue;
        }
        const QString whose = QStringLiteral("el marcador del jugador %1 (objeto %2, %3 de «%4»)")
                                  .arg(player + 1)
                                  .arg(object.id, objectPlace(object), layer);
        if (const StartObject* first = placedBy[player]) {
            problems << QStringLiteral("el jugador %1 tiene más de un marcador en «%2»: el objeto "
                                       "%3, %4, y el objeto %5, %6; borra uno")
                            .arg(player + 1)
                            .arg(layer, first->id, objectPlace(*first), object.id,
                                 objectPlace(object));
            continue;
        }
        placedBy[player] = &object;
        if (const int named = playerNamed(object.name); named >= 0 && named != player)
            problems << QStringLiteral("%1 se llama «%2», pero su patrón es el del jugador %3: "
                                       "cámbiale el nombre a «Jugador %3» o dale el patrón del "
                                       "jugador %4 de «%5»")
                            .arg(whose, object.name)
                            .arg(player + 1)
                            .arg(named + 1)
                            .arg(tileset);
        if (object.rotation != 0)
            problems << QStringLiteral("%1 está girado %2 grados: pon a 0 su Rotación (Rotation) "
                                       "en el panel Atributos (Properties)")
                            .arg(whose)
                            .arg(object.rotation);
        if (!object.visible)
            problems << QStringLiteral("%1 está oculto: muéstralo con su ojo en el panel Objetos "
                                       "(Objects)")
                            .arg(whose);
        const auto [column, row] = objectCell(object);
        if (!(column >= 0 && column < parts.width && row >= 0 && row < parts.height)) {
            problems << QStringLiteral("%1 cae fuera del mapa de %2 x %3 celdas: arrástralo "
                                       "dentro con Seleccionar Objetos (Select Objects)")
                            .arg(whose)
                            .arg(parts.width)
                            .arg(parts.height);
            continue;
        }
        cells[player] = std::pair{column, row};
        for (int other = 0; other < playerCount; ++other)
            if (other != player && cells[other] == cells[player])
                problems << QStringLiteral("los jugadores %1 y %2 comienzan en la misma celda "
                                           "(%3) de «%4»: mueve uno de los dos")
                                .arg(std::min<qint64>(other, player) + 1)
                                .arg(std::max<qint64>(other, player) + 1)
                                .arg(cellPlace(column, row), layer);
    }
    for (int p = 0; p < playerCount; ++p) {
        if (!placedBy[p])
            problems << QStringLiteral("falta el marcador del jugador %1 en «%2»: ponlo con "
                                       "Insertar Patrón (Insert Tile) y el patrón del jugador %1 "
                                       "de «%3»")
                            .arg(p + 1)
                            .arg(layer, tileset);
        else if (keep && cells[p])
            map.starts[p] =
                GridPoint{std::int16_t(cells[p]->first), std::int16_t(cells[p]->second)};
    }
    return problems;
}

/** The tilesets and layers that a map of ours is made of, each one missing said. */
QStringList partsMissing(const TiledParts& parts)
{
    QStringList problems;
    for (const char* name : {terrainTileset, playerTileset})
        if (!tilesetNamed(parts, name))
            problems << QStringLiteral("falta el conjunto de patrones «%1»: añade %1.tsx con "
                                       "Mapa > Añadir un Conjunto de Patrones Externo… (Map > "
                                       "Add External Tileset…), o empieza el mapa con Archivo > "
                                       "Nuevo > Nuevo mapa de Quintaraz… (File > New > Nuevo "
                                       "mapa de Quintaraz…)")
                            .arg(QLatin1String(name));
    for (const QString& problem :
         {layerProblem(parts.terrainLayers, "patrones", terrainLayer,
                       "dale ese nombre a la capa de patrones del terreno (doble clic en su "
                       "nombre en el panel Capas)"),
          layerProblem(parts.startLayers, "objetos", startLayer,
                       "créala con Capa > Nuevo > Capa de Objetos (Layer > New > Object Layer)")})
        if (!problem.isEmpty())
            problems << problem;
    return problems;
}

TiledReading mapOf(const TiledParts& parts)
{
    TiledReading reading;
    const auto fail = [&](const QStringList& problems) {
        reading.error = problems.join(u'\n');
        return reading;
    };
    if (QString problem = shapeProblem(parts); !problem.isEmpty())
        return fail({problem});
    const QString sizeTrouble = sizeProblem(parts);
    if (!layersReadable(parts))
        return fail({sizeTrouble});
    if (QStringList missing = partsMissing(parts); !missing.isEmpty())
        return fail(missing);
    if (qsizetype(parts.terrain.size()) != parts.cells()) {
        const QString count = inLayer(QString::fromLatin1(terrainLayer),
                                      countProblem(qsizetype(parts.terrain.size()), parts.cells()));
        return fail(sizeTrouble.isEmpty() ? QStringList{count} : QStringList{sizeTrouble, count});
    }
    const TilesetEntry* terrains = tilesetNamed(parts, terrainTileset);
    const TilesetEntry* players = tilesetNamed(parts, playerTileset);

    // Every rule broken is said at once, so that all can be put right in one go.
    QStringList problems;
    if (!sizeTrouble.isEmpty())
        problems << sizeTrouble;
    GameMap& map = reading.map;
    int flipped = 0;
    if (sizeTrouble.isEmpty()) {
        map.resize(int(parts.width - 1), int(parts.height - 1));
        // The tile numbers that are terrains: from the tileset's first, up to the next one's.
        qint64 terrainsEnd = terrains->firstGid + terrainCount;
        for (const TilesetEntry& tileset : parts.tilesets)
            if (tileset.firstGid > terrains->firstGid)
                terrainsEnd = std::min(terrainsEnd, tileset.firstGid);
        problems << terrainCellProblems(parts, *terrains, terrainsEnd);
        for (qsizetype k = 0; k < parts.cells(); ++k) {
            const quint32 written = parts.terrain[std::size_t(k)];
            flipped += isFlipped(written);
            map.terrain[std::size_t(k)] = std::int16_t(std::clamp<qint64>(
                tileInTileset(tileOf(written), terrains->firstGid), -1, terrainCount));
        }
    }
    placementProblems(parts.terrainPlacement, terrainLayer, problems);
    placementProblems(parts.startPlacement, startLayer, problems);
    for (const auto& [name, first] : parts.paintedLayers)
        problems << QStringLiteral("la capa «%1» tiene patrones pintados (el primero en la %2), "
                                   "que el mapa no guarda: bórrala, o llévala justo encima de "
                                   "«%3» con Capa > Raise Layers o Lower Layers (Layer > Raise "
                                   "Layers o Lower Layers) y mézclala con ella con Capa > "
                                   "Mezclar Capas hacía Abajo (Layer > Merge Layer Down)")
                        .arg(name, cellPlace(first % parts.width, first / parts.width),
                             QLatin1String(terrainLayer));
    problems << readStarts(parts, *players, map, sizeTrouble.isEmpty(), flipped);
    if (!problems.isEmpty())
        return fail(problems);

    if (flipped > 0)
        reading.warnings << QStringLiteral("%1 patrones o marcadores estaban girados o volteados; "
                                           "el editor los guarda sin girar")
                                .arg(flipped);
    // What check says of the map: a start on water or rock.
    for (const MapProblem& problem : mapProblems(map))
        reading.warnings << problemText(problem);
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
        // A layer that does not fit a size out of the editor's: the size is said first.
        const QString size =
            parts.width > 0 && shapeProblem(parts).isEmpty() ? sizeProblem(parts) : QString();
        reading.error = size.isEmpty() ? problem : size + u'\n' + problem;
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
