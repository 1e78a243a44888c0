#include "maptool/diffreport.h"

#include "balance/balancefigures.h"
#include "map/problemtext.h"
#include "maptool/balancereport.h"
#include "system/filenames.h"
#include "versions/mapdiff.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <array>

namespace quintaraz {

using namespace Qt::StringLiterals;

namespace {

// An area's line is written piece by piece: a map repainted all over has thousands.

/** "1 casilla" or "5 casillas", appended. */
void appendCells(QString& text, int count)
{
    if (count == 1) {
        text += u"1 casilla"_s;
        return;
    }
    appendNumber(text, count);
    text += u" casillas"_s;
}

QJsonValue terrainJson(std::optional<std::int16_t> terrain)
{
    return terrain ? QJsonValue(*terrain) : QJsonValue();
}

QJsonObject placeJson(GridPoint cell)
{
    return {{QStringLiteral("columna"), cell.x}, {QStringLiteral("fila"), cell.y}};
}

/** "columna 3, fila 4", or "sin comienzo" for a side without the start. */
void appendStart(QString& text, const std::optional<GridPoint>& start)
{
    if (start)
        appendCellPlace(text, start->x, start->y);
    else
        text += u"sin comienzo"_s;
}

QJsonValue startJson(const std::optional<GridPoint>& start)
{
    return start ? QJsonValue(placeJson(*start)) : QJsonValue();
}

/** "columnas 10–14, filas 3–5: Hierba → Agua, 15 casillas", a line an area. */
void appendAreas(QString& text, const std::vector<ChangeArea>& areas)
{
    for (const ChangeArea& area : areas) {
        appendAreaPlace(text, area);
        text += u": "_s;
        text += terrainLabel(area.before);
        text += u" → "_s;
        text += terrainLabel(area.after);
        text += u", "_s;
        appendCells(text, area.cellCount());
        text += u'\n';
    }
}

/** "jugador 3: columna 8, fila 8 → columna 9, fila 9", a line a player. */
void appendStartChanges(QString& text, const std::vector<StartChange>& starts)
{
    for (const StartChange& change : starts) {
        text += u"jugador "_s;
        appendNumber(text, change.player + 1);
        text += u": "_s;
        appendStart(text, change.from);
        text += u" → "_s;
        appendStart(text, change.to);
        text += u'\n';
    }
}

/** "total: 15 casillas cambiadas en 1 zona; comienzos movidos: 1". */
void appendTotals(QString& text, int cells, int areas, int starts)
{
    text += u"total: "_s;
    appendCells(text, cells);
    text += cells == 1 ? u" cambiada en "_s : u" cambiadas en "_s;
    appendNumber(text, areas);
    text += areas == 1 ? u" zona; comienzos movidos: "_s : u" zonas; comienzos movidos: "_s;
    appendNumber(text, starts);
    text += u'\n';
}

} // namespace

QString terrainLabel(std::optional<std::int16_t> terrain)
{
    // Made once: a diff names two terrains a line.
    static const std::array<QString, terrainCount> names = [] {
        std::array<QString, terrainCount> all;
        for (int t = 0; t < terrainCount; ++t)
            all[std::size_t(t)] = terrainName(t);
        return all;
    }();
    if (!terrain)
        return QStringLiteral("fuera del mapa");
    return isTerrain(*terrain) ? names[std::size_t(*terrain)] : terrainName(*terrain);
}

QString differenceText(const QString& before, const QString& after, const MapDifference& difference)
{
    // Appended piece by piece, never through QString::arg: a diff is mostly its short lines,
    // and parsing a pattern for each of them would cost more than finding the changes.
    QString text;
    text.reserve(before.size() + after.size() + 160);
    text += printableName(before);
    text += u" → "_s;
    text += printableName(after);
    text += u'\n';
    if (difference.same()) {
        text += QStringLiteral("el mismo mapa: las mismas casillas y el mismo comienzo para cada "
                               "jugador\n");
        if (difference.extraStartsChanged)
            text += QStringLiteral("  (cambia lo que sigue al octavo comienzo, que el juego no "
                                   "lee)\n");
        return text;
    }
    if (difference.sizeChanged())
        text += QStringLiteral("tamaño: %1 → %2\n")
                    .arg(sizeText(difference.columnsBefore, difference.rowsBefore),
                         sizeText(difference.columnsAfter, difference.rowsAfter));
    const std::vector<ChangeArea> areas = changeAreas(difference.cells);
    appendAreas(text, areas);
    appendStartChanges(text, difference.starts);
    if (difference.extraStartsChanged)
        text += QStringLiteral("cambia lo que sigue al octavo comienzo, que el juego no lee\n");
    appendTotals(text, int(difference.cells.size()), int(areas.size()),
                 int(difference.starts.size()));
    return text;
}

QJsonObject differenceJson(const QString& before, const QString& after,
                           const MapDifference& difference, const QJsonObject& more)
{
    QJsonArray cellChanges;
    for (const CellChange& change : difference.cells) {
        QJsonObject entry = placeJson(change.cell);
        entry[QStringLiteral("antes")] = terrainJson(change.before);
        entry[QStringLiteral("despues")] = terrainJson(change.after);
        cellChanges.append(entry);
    }
    QJsonArray startChanges;
    for (const StartChange& change : difference.starts)
        startChanges.append(QJsonObject{{QStringLiteral("jugador"), change.player + 1},
                                        {QStringLiteral("desde"), startJson(change.from)},
                                        {QStringLiteral("hasta"), startJson(change.to)}});
    const auto size = [](int columns, int rows) {
        return QJsonObject{{QStringLiteral("columnas"), columns}, {QStringLiteral("filas"), rows}};
    };
    const QJsonObject report{
        {QStringLiteral("antes"), printableName(before)},
        {QStringLiteral("despues"), printableName(after)},
        {QStringLiteral("iguales"), difference.same()},
        {QStringLiteral("tamano_antes"), size(difference.columnsBefore, difference.rowsBefore)},
        {QStringLiteral("tamano_despues"), size(difference.columnsAfter, difference.rowsAfter)},
        {QStringLiteral("casillas"), cellChanges},
        {QStringLiteral("comienzos"), startChanges},
        {QStringLiteral("tras_el_octavo_comienzo_cambia"), difference.extraStartsChanged},
        {QStringLiteral("totales"),
         QJsonObject{{QStringLiteral("casillas"), int(difference.cells.size())},
                     {QStringLiteral("comienzos_movidos"), int(difference.starts.size())}}}};
    QJsonObject whole = report;
    for (auto entry = more.begin(); entry != more.end(); ++entry)
        whole.insert(entry.key(), entry.value());
    return whole;
}

QString balanceChangeText(const BalanceFigures& was, const BalanceFigures& is)
{
    return QStringLiteral("equilibrio: %1 → %2: %3\n")
        .arg(verdictWord(was.verdict), verdictWord(is.verdict), verdictReason(is));
}

QJsonObject balanceChangeJson(const BalanceFigures& was, const BalanceFigures& is)
{
    const auto side = [](const BalanceFigures& figures) {
        return QJsonObject{{QStringLiteral("veredicto"), verdictWord(figures.verdict)},
                           {QStringLiteral("motivo"), verdictReason(figures)},
                           {QStringLiteral("razones"), measureRatiosJson(figures)}};
    };
    return {{QStringLiteral("equilibrio"), QJsonObject{{QStringLiteral("antes"), side(was)},
                                                       {QStringLiteral("despues"), side(is)}}}};
}

} // namespace quintaraz
