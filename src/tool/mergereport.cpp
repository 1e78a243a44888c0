#include "tool/mergereport.h"

#include "map/mapmerge.h"
#include "tool/diffreport.h"

namespace quintaraz {

QString conflictText(const MergeConflict& conflict)
{
    switch (conflict.kind) {
    case MergeConflict::Kind::Size:
        return QStringLiteral("conflicto de tamaño: %1 x %2 → %3 x %4 / %5 x %6, y el otro lado "
                              "cambió el mapa; queda el nuestro entero")
            .arg(conflict.baseAt.x)
            .arg(conflict.baseAt.y)
            .arg(conflict.oursAt.x)
            .arg(conflict.oursAt.y)
            .arg(conflict.theirsAt.x)
            .arg(conflict.theirsAt.y);
    case MergeConflict::Kind::Cell:
        return QStringLiteral("conflicto en la %1: %2 → %3 / %4")
            .arg(cellPlace(conflict.cell), terrainLabel(conflict.base), terrainLabel(conflict.ours),
                 terrainLabel(conflict.theirs));
    case MergeConflict::Kind::Start:
        return QStringLiteral("conflicto en el comienzo %1 (%2): → %3 / %4")
            .arg(conflict.player + 1)
            .arg(cellPlace(conflict.baseAt), cellPlace(conflict.oursAt),
                 cellPlace(conflict.theirsAt));
    case MergeConflict::Kind::Land:
        break;
    }
    const QString where = QStringLiteral("el comienzo %1 queda en la %2")
                              .arg(conflict.player + 1)
                              .arg(cellPlace(conflict.cell));
    if (!conflict.ours)
        return QStringLiteral("conflicto: %1, fuera del mapa").arg(where);
    if (blocksStart(*conflict.ours))
        return QStringLiteral("conflicto: %1, en %2")
            .arg(where, terrainLabel(conflict.ours).toLower());
    return QStringLiteral("conflicto: %1, con otro comienzo").arg(where);
}

} // namespace quintaraz
