#include "map/mapproblems.h"

#include "map/gamemap.h"
#include "map/terrain.h"

#include <algorithm>

namespace quintaraz {

namespace {

QString place(int x, int y)
{
    return QStringLiteral("columna %1, fila %2").arg(x).arg(y);
}

} // namespace

QStringList mapWarnings(const GameMap& map)
{
    QStringList warnings;
    const int columns = map.columns();
    for (int g = 0; g < playerCount; ++g) {
        if (!map.starts[g])
            continue;
        const GridPoint start = *map.starts[g];
        for (int later = g + 1; later < playerCount; ++later) {
            if (map.starts[later] == start)
                warnings << QStringLiteral(
                                "los jugadores %1 y %2 comienzan en la misma celda (%3); "
                                "el editor deja al jugador %1 sin comienzo")
                                .arg(g + 1)
                                .arg(later + 1)
                                .arg(place(start.x, start.y));
        }
        if (!map.contains(start)) {
            warnings << QStringLiteral("el comienzo del jugador %1 (%2) está fuera del mapa")
                            .arg(g + 1)
                            .arg(place(start.x, start.y));
            continue;
        }
        const int terrain = map.terrain[start.y * columns + start.x];
        if (blocksStart(terrain))
            warnings << QStringLiteral("el comienzo del jugador %1 (%2) está en %3")
                            .arg(g + 1)
                            .arg(place(start.x, start.y),
                                 QString::fromUtf8(terrainNames[terrain]).toLower());
    }
    // Counted in one pass that the compiler can do many cells at a time.
    const auto cells = map.terrain.begin();
    const auto end = cells + columns * map.rows();
    int unknown = 0;
    for (auto cell = cells; cell != end; ++cell)
        unknown += isTerrain(*cell) ? 0 : 1;
    const int first =
        unknown ? int(std::find_if(cells, end, [](int t) { return !isTerrain(t); }) - cells) : 0;
    const QString where = unknown ? place(first % columns, first / columns) : QString();
    if (unknown == 1)
        warnings << QStringLiteral("1 celda tiene un terreno que el editor no conoce: %1, en la %2")
                        .arg(map.terrain[first])
                        .arg(where);
    else if (unknown > 1)
        warnings << QStringLiteral("%1 celdas tienen un terreno que el editor no conoce; la "
                                   "primera, %2, en la %3")
                        .arg(unknown)
                        .arg(map.terrain[first])
                        .arg(where);
    if (const int extra = map.extraStartCount(); extra > 0)
        warnings << QStringLiteral("hay %1 comienzos; se leen los %2 primeros")
                        .arg(playerCount + extra)
                        .arg(playerCount);
    return warnings;
}

} // namespace quintaraz
