#include "maptool/mergereport.h"

#include "map/problemtext.h"
#include "maptool/diffreport.h"
#include "versions/mapmerge.h"

namespace quintaraz {

namespace {

/** A size held as a point, columns and rows: "60x40". */
QString mapSize(GridPoint size)
{
    return sizeText(size.x, size.y);
}

/** "base → ours / theirs", or "ours / theirs" without a base. */
QString sides(const MergeConflict& conflict, const QString& base, const QString& ours,
              const QString& theirs)
{
    return (conflict.withBase ? base + QStringLiteral(" → ") : QString()) + ours +
           QStringLiteral(" / ") + theirs;
}

QString landText(const MergeConflict& conflict)
{
    const MapProblem& rule = *conflict.rule;
    const QString player =
        QStringLiteral("conflicto en el comienzo del jugador %1: ").arg(conflict.player + 1);
    const QString kept = conflict.keptTerrain ? terrainName(*conflict.keptTerrain) : QString();
    // The other side painted under our start, which stayed on its cell.
    if (conflict.cell == conflict.oursAt && conflict.keptTerrain)
        return player +
               QStringLiteral("quedaría en %1 en la %2; queda sobre %3, como en el nuestro")
                   .arg(terrainWord(int(rule.number)), cellPlace(conflict.cell), kept);
    QString where = cellPlace(conflict.cell);
    if (rule.kind == ProblemKind::StartOutside)
        where += QStringLiteral(", fuera del mapa");
    else if (rule.kind == ProblemKind::StartBlocked)
        where += QStringLiteral(", en ") + terrainWord(int(rule.number));
    else
        where += QStringLiteral(", con el comienzo del jugador %1").arg(rule.otherPlayer + 1);
    QString text = player + QStringLiteral("quedaría en la %1; queda el nuestro, en la %2")
                                .arg(where, cellPlace(conflict.oursAt));
    if (conflict.keptTerrain)
        text += QStringLiteral(", que sigue siendo %1").arg(kept);
    return text;
}

} // namespace

QString conflictText(const MergeConflict& conflict)
{
    switch (conflict.kind) {
    case MergeConflict::Kind::Size:
        return QStringLiteral("conflicto de tamaño: %1%2; queda el nuestro entero")
            .arg(sides(conflict, mapSize(conflict.baseAt), mapSize(conflict.oursAt),
                       mapSize(conflict.theirsAt)),
                 conflict.withBase ? QStringLiteral(", y el otro lado cambió el mapa") : QString());
    case MergeConflict::Kind::Cell:
        return QStringLiteral("conflicto en la %1: %2")
            .arg(cellPlace(conflict.cell),
                 sides(conflict, terrainLabel(conflict.base), terrainLabel(conflict.ours),
                       terrainLabel(conflict.theirs)));
    case MergeConflict::Kind::Start:
        return QStringLiteral("conflicto en el comienzo del jugador %1: %2")
            .arg(conflict.player + 1)
            .arg(sides(conflict, cellPlace(conflict.baseAt), cellPlace(conflict.oursAt),
                       cellPlace(conflict.theirsAt)));
    case MergeConflict::Kind::Land:
        break;
    }
    return landText(conflict);
}

} // namespace quintaraz
