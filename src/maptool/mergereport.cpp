#include "maptool/mergereport.h"

#include "map/problemtext.h"
#include "maptool/diffreport.h"
#include "versions/mapmerge.h"

#include <vector>

namespace quintaraz {

namespace {

/** A size held as a point, columns and rows: "60x40". */
QString mapSize(GridPoint size)
{
    return sizeText(size.x, size.y);
}

/** "base Hierba; nuestro Agua; suyo Roca", without the base when the sides share none. */
QString sides(bool withBase, const QString& base, const QString& ours, const QString& theirs)
{
    return (withBase ? QStringLiteral("base ") + base + QStringLiteral("; ") : QString()) +
           QStringLiteral("nuestro ") + ours + QStringLiteral("; suyo ") + theirs;
}

QString sides(const MergeConflict& conflict, const QString& base, const QString& ours,
              const QString& theirs)
{
    return sides(conflict.withBase, base, ours, theirs);
}

/** "conflicto en 60 casillas, columnas 10–29, filas 5–7: base ...: queda el nuestro". */
QString areaText(const ConflictArea& area, bool withBase)
{
    QString text = QStringLiteral("conflicto en ");
    if (area.cellCount() == 1)
        text += QStringLiteral("la ");
    else
        text += QStringLiteral("%1 casillas, ").arg(area.cellCount());
    appendAreaPlace(text, area);
    return text + QStringLiteral(": ") +
           sides(withBase, terrainLabel(area.base), terrainLabel(area.ours),
                 terrainLabel(area.theirs)) +
           QStringLiteral(": queda el nuestro");
}

/** "60 casillas", "1 comienzo": a count and its noun. */
QString counted(qsizetype count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
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
        return areaText({{conflict.cell.x, conflict.cell.y, conflict.cell.x, conflict.cell.y},
                         conflict.base,
                         conflict.ours,
                         conflict.theirs},
                        conflict.withBase);
    case MergeConflict::Kind::Start:
        return QStringLiteral("conflicto en el comienzo del jugador %1: %2: queda el nuestro")
            .arg(conflict.player + 1)
            .arg(sides(conflict, cellPlace(conflict.baseAt), cellPlace(conflict.oursAt),
                       cellPlace(conflict.theirsAt)));
    case MergeConflict::Kind::Land:
        break;
    }
    return landText(conflict);
}

QStringList conflictLines(const MapMerge& merged)
{
    const bool withBase = merged.conflicts.empty() || merged.conflicts.front().withBase;
    QStringList lines;
    const std::vector<ConflictArea> areas = conflictAreas(merged.conflicts);
    for (const ConflictArea& area : areas)
        lines << areaText(area, withBase);
    qsizetype cells = 0;
    qsizetype starts = 0;
    bool size = false;
    for (const MergeConflict& conflict : merged.conflicts) {
        cells += conflict.kind == MergeConflict::Kind::Cell;
        size = size || conflict.kind == MergeConflict::Kind::Size;
        if (conflict.kind != MergeConflict::Kind::Cell) {
            starts += conflict.kind != MergeConflict::Kind::Size;
            lines << conflictText(conflict);
        }
    }
    if (lines.isEmpty())
        return lines;
    QStringList counts;
    if (size)
        counts << QStringLiteral("el tamaño");
    if (cells > 0)
        counts << counted(cells, "casilla", "casillas") + QStringLiteral(" en ") +
                      counted(qsizetype(areas.size()), "zona", "zonas");
    if (starts > 0)
        counts << counted(starts, "comienzo", "comienzos");
    lines << QStringLiteral("en conflicto: ") + counts.join(QStringLiteral(", "));
    return lines;
}

} // namespace quintaraz
