// The cells of the terrain layer that are no terrain, said in rectangles; see tiledcells.h.

#include "tiled/tiledcells.h"

#include "tiled/gidmapper.h"
#include "versions/mapdiff.h"

#include <map>

namespace quintaraz {

using namespace tiled;

namespace {

/** The most rectangles named in one line; a map maker fixes those and checks again. */
constexpr std::size_t mostAreasNamed = 6;

QString areaText(const ChangeArea& area)
{
    const QString columns = area.left == area.right
                                ? QStringLiteral("columna %1").arg(area.left)
                                : QStringLiteral("columnas %1–%2").arg(area.left).arg(area.right);
    const QString rows = area.top == area.bottom
                             ? QStringLiteral("fila %1").arg(area.top)
                             : QStringLiteral("filas %1–%2").arg(area.top).arg(area.bottom);
    return columns + QStringLiteral(", ") + rows;
}

/** Where the cells lie: their rectangles, the first few of them. */
QString areasText(const std::vector<ChangeArea>& areas)
{
    QStringList named;
    for (std::size_t k = 0; k < areas.size() && k < mostAreasNamed; ++k)
        named << areaText(areas[k]);
    QString text = named.join(QStringLiteral("; "));
    if (areas.size() > mostAreasNamed)
        text += QStringLiteral(" y %1 zonas más").arg(areas.size() - mostAreasNamed);
    return text;
}

/** What is wrong with a cell: a kind, and for a tile of another tileset, which one. */
enum class CellFault : std::int16_t { Empty, OtherTileset, NoTerrain };

} // namespace

QStringList terrainCellProblems(const TiledParts& parts, const TilesetEntry& terrains,
                                qint64 terrainsEnd)
{
    // The faulty cells of each kind, in the order of the rows, as changeAreas groups them.
    // A tile of another tileset is keyed by that tileset's place in the map's list.
    std::map<std::pair<CellFault, qsizetype>, std::vector<CellChange>> faults;
    for (qsizetype k = 0; k < parts.cells(); ++k) {
        const qint64 gid = tileOf(parts.terrain[std::size_t(k)]);
        if (gid >= terrains.firstGid && gid < terrainsEnd)
            continue;
        const TilesetEntry* owner = gid == 0 ? nullptr : tilesetOf(parts, quint32(gid));
        const std::pair key =
            !owner ? std::pair{CellFault::Empty, qsizetype(-1)}
            : owner != &terrains
                ? std::pair{CellFault::OtherTileset, qsizetype(owner - parts.tilesets.data())}
                : std::pair{CellFault::NoTerrain, qsizetype(-1)};
        const GridPoint cell{std::int16_t(k % parts.width), std::int16_t(k / parts.width)};
        faults[key].push_back({cell, std::nullopt, std::nullopt});
    }
    QStringList problems;
    const QString layer = QLatin1String(terrainLayer);
    const QString tileset = QLatin1String(terrainTileset);
    for (const auto& [key, cells] : faults) {
        const qsizetype count = qsizetype(cells.size());
        const QString where = areasText(changeAreas(cells));
        const bool one = count == 1;
        switch (key.first) {
        case CellFault::Empty:
            problems << QStringLiteral("la capa «%1» tiene %2 %3 (%4): %5 con el patrón Hierba "
                                       "de «%6» y la Herramienta de Rellenado (Bucket Fill Tool)")
                            .arg(layer)
                            .arg(count)
                            .arg(one ? QStringLiteral("celda vacía")
                                     : QStringLiteral("celdas vacías"),
                                 where,
                                 one ? QStringLiteral("rellénala") : QStringLiteral("rellénalas"),
                                 tileset);
            break;
        case CellFault::OtherTileset: {
            const TilesetEntry& owner = parts.tilesets[key.second];
            // Two tilesets of one name: said by where each begins.
            const QString from =
                owner.name == terrains.name
                    ? QStringLiteral("del conjunto «%1» que empieza en el número "
                                     "%2, no del que empieza en el %3")
                          .arg(owner.name)
                          .arg(owner.firstGid)
                          .arg(terrains.firstGid)
                    : QStringLiteral("de «%1», no de «%2»").arg(owner.name, tileset);
            problems << QStringLiteral("la capa «%1» tiene %2 %3 con patrones %4 (%5): %6 con los "
                                       "patrones de «%7»")
                            .arg(layer)
                            .arg(count)
                            .arg(one ? QStringLiteral("celda pintada")
                                     : QStringLiteral("celdas pintadas"),
                                 from, where,
                                 one ? QStringLiteral("repíntala") : QStringLiteral("repíntalas"),
                                 tileset);
            break;
        }
        case CellFault::NoTerrain:
            problems << QStringLiteral("la capa «%1» tiene %2 %3 con un patrón de «%4» que no es "
                                       "ninguno de sus %5 terrenos (%6): %7")
                            .arg(layer)
                            .arg(count)
                            .arg(one ? QStringLiteral("celda") : QStringLiteral("celdas"), tileset)
                            .arg(terrainCount)
                            .arg(where,
                                 one ? QStringLiteral("repíntala") : QStringLiteral("repíntalas"));
            break;
        }
    }
    return problems;
}

} // namespace quintaraz
