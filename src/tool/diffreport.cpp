#include "tool/diffreport.h"

#include "balance/balancefigures.h"
#include "map/mapdiff.h"
#include "tool/balancereport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <charconv>

namespace quintaraz {

using namespace Qt::StringLiterals;

namespace {

// An area's line is written piece by piece: a map repainted all over has thousands.

/** A number appended from the stack: QString::number would allocate a string for each one. */
void appendNumber(QString& text, long long number)
{
    std::array<char, 24> digits;
    char* const first = digits.data();
    // Room for any long long: to_chars cannot fail here.
    char* const end = std::to_chars(first, first + digits.size(), number).ptr;
    std::array<char16_t, 24> wide;
    std::copy(first, end, wide.begin());
    text += QStringView(wide.data(), end - first);
}

/** "columnas 10–14" or "columna 10". */
void appendSpan(QString& text, const QString& one, const QString& many, int first, int last)
{
    text += first == last ? one : many;
    text += u' ';
    appendNumber(text, first);
    if (first != last) {
        text += u'–';
        appendNumber(text, last);
    }
}

/** "columna 3, fila 4", appended: QString::arg would parse its pattern each time. */
void appendPlace(QString& text, GridPoint cell)
{
    text += u"columna "_s;
    appendNumber(text, cell.x);
    text += u", fila "_s;
    appendNumber(text, cell.y);
}

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

QString sizeText(int columns, int rows)
{
    return QStringLiteral("%1 x %2").arg(columns).arg(rows);
}

QJsonValue terrainJson(std::optional<std::int16_t> terrain)
{
    return terrain ? QJsonValue(*terrain) : QJsonValue();
}

QJsonObject placeJson(GridPoint cell)
{
    return {{QStringLiteral("columna"), cell.x}, {QStringLiteral("fila"), cell.y}};
}

struct StartTotals {
    int moved = 0;
    int added = 0;
    int removed = 0;
};

StartTotals startTotals(const MapDifference& difference)
{
    StartTotals totals;
    for (const StartChange& change : difference.starts)
        ++(change.kind == StartChange::Kind::Moved   ? totals.moved
           : change.kind == StartChange::Kind::Added ? totals.added
                                                     : totals.removed);
    return totals;
}

} // namespace

QString cellPlace(GridPoint cell)
{
    QString text;
    appendPlace(text, cell);
    return text;
}

QString terrainLabel(std::optional<std::int16_t> terrain)
{
    static const std::array<QString, terrainCount> names = [] {
        std::array<QString, terrainCount> all;
        for (int t = 0; t < terrainCount; ++t)
            all[t] = QString::fromUtf8(terrainNames[t]);
        return all;
    }();
    if (!terrain)
        return QStringLiteral("fuera del mapa");
    if (isTerrain(*terrain))
        return names[*terrain];
    return u"terreno "_s + QString::number(*terrain);
}

QString differenceText(const QString& before, const QString& after, const MapDifference& difference)
{
    // Appended piece by piece, never through QString::arg: a diff is mostly its short lines,
    // and parsing a pattern for each of them would cost more than finding the changes.
    QString text;
    text.reserve(before.size() + after.size() + 160);
    text += before;
    text += u" → "_s;
    text += after;
    text += u'\n';
    if (difference.same()) {
        text += QStringLiteral("el mismo mapa: las mismas celdas y las mismas casillas de "
                               "comienzo\n");
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
    for (const ChangeArea& area : areas) {
        appendSpan(text, u"columna"_s, u"columnas"_s, area.left, area.right);
        text += u", "_s;
        appendSpan(text, u"fila"_s, u"filas"_s, area.top, area.bottom);
        text += u": "_s;
        text += terrainLabel(area.before);
        text += u" → "_s;
        text += terrainLabel(area.after);
        text += u", "_s;
        appendCells(text, area.cellCount());
        text += u'\n';
    }
    for (const StartChange& change : difference.starts) {
        switch (change.kind) {
        case StartChange::Kind::Moved:
            text += u"comienzo movido: "_s;
            appendPlace(text, change.from);
            text += u" → "_s;
            appendPlace(text, change.to);
            break;
        case StartChange::Kind::Added:
            text += u"comienzo añadido: "_s;
            appendPlace(text, change.to);
            break;
        case StartChange::Kind::Removed:
            text += u"comienzo quitado: "_s;
            appendPlace(text, change.from);
            break;
        }
        text += u'\n';
    }
    if (difference.extraStartsChanged)
        text += QStringLiteral("cambia lo que sigue al octavo comienzo, que el juego no lee\n");
    const StartTotals starts = startTotals(difference);
    const int changed = int(difference.cells.size());
    text += u"total: "_s;
    appendCells(text, changed);
    text += changed == 1 ? u" cambiada en "_s : u" cambiadas en "_s;
    appendNumber(text, qsizetype(areas.size()));
    text += areas.size() == 1 ? u" zona; comienzos movidos: "_s : u" zonas; comienzos movidos: "_s;
    appendNumber(text, starts.moved);
    text += u", añadidos: "_s;
    appendNumber(text, starts.added);
    text += u", quitados: "_s;
    appendNumber(text, starts.removed);
    text += u'\n';
    return text;
}

QByteArray differenceJson(const QString& before, const QString& after,
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
    for (const StartChange& change : difference.starts) {
        QJsonObject entry;
        entry[QStringLiteral("cambio")] =
            change.kind == StartChange::Kind::Moved   ? QStringLiteral("movido")
            : change.kind == StartChange::Kind::Added ? QStringLiteral("anadido")
                                                      : QStringLiteral("quitado");
        if (change.kind != StartChange::Kind::Added)
            entry[QStringLiteral("desde")] = placeJson(change.from);
        if (change.kind != StartChange::Kind::Removed)
            entry[QStringLiteral("hasta")] = placeJson(change.to);
        startChanges.append(entry);
    }
    const StartTotals starts = startTotals(difference);
    const auto size = [](int columns, int rows) {
        return QJsonObject{{QStringLiteral("columnas"), columns}, {QStringLiteral("filas"), rows}};
    };
    const QJsonObject report{
        {QStringLiteral("antes"), before},
        {QStringLiteral("despues"), after},
        {QStringLiteral("iguales"), difference.same()},
        {QStringLiteral("tamano_antes"), size(difference.columnsBefore, difference.rowsBefore)},
        {QStringLiteral("tamano_despues"), size(difference.columnsAfter, difference.rowsAfter)},
        {QStringLiteral("casillas"), cellChanges},
        {QStringLiteral("comienzos"), startChanges},
        {QStringLiteral("tras_el_octavo_comienzo_cambia"), difference.extraStartsChanged},
        {QStringLiteral("totales"),
         QJsonObject{{QStringLiteral("casillas"), int(difference.cells.size())},
                     {QStringLiteral("comienzos_movidos"), starts.moved},
                     {QStringLiteral("comienzos_anadidos"), starts.added},
                     {QStringLiteral("comienzos_quitados"), starts.removed}}}};
    QJsonObject whole = report;
    for (auto entry = more.begin(); entry != more.end(); ++entry)
        whole.insert(entry.key(), entry.value());
    return QJsonDocument(whole).toJson(QJsonDocument::Compact) + '\n';
}

QString balanceChangeText(const BalanceFigures& was, const GameMap& after, const BalanceFigures& is)
{
    return QStringLiteral("equilibrio: %1 → %2: %3\n")
        .arg(verdictWord(was.verdict), verdictWord(is.verdict), verdictReason(after, is));
}

QJsonObject balanceChangeJson(const GameMap& before, const BalanceFigures& was,
                              const GameMap& after, const BalanceFigures& is)
{
    const auto side = [](const GameMap& map, const BalanceFigures& figures) {
        return QJsonObject{{QStringLiteral("veredicto"), verdictWord(figures.verdict)},
                           {QStringLiteral("motivo"), verdictReason(map, figures)},
                           {QStringLiteral("razones"), measureRatiosJson(figures)}};
    };
    return {
        {QStringLiteral("equilibrio"), QJsonObject{{QStringLiteral("antes"), side(before, was)},
                                                   {QStringLiteral("despues"), side(after, is)}}}};
}

} // namespace quintaraz
