#include "tool/diffreport.h"

#include "map/mapdiff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace quintaraz {

using namespace Qt::StringLiterals;

namespace {

// An area's line is written piece by piece: a map repainted all over has thousands.

/** "columnas 10–14" or "columna 10". */
void appendSpan(QString& text, QLatin1StringView one, QLatin1StringView many, int first, int last)
{
    text += first == last ? one : many;
    text += u' ';
    text += QString::number(first);
    if (first != last) {
        text += u'–';
        text += QString::number(last);
    }
}

QString cells(int count)
{
    return count == 1 ? u"1 casilla"_s : QString::number(count) + u" casillas"_s;
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
    return QStringLiteral("columna %1, fila %2").arg(cell.x).arg(cell.y);
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
    QString text = QStringLiteral("%1 → %2\n").arg(before, after);
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
        appendSpan(text, "columna"_L1, "columnas"_L1, area.left, area.right);
        text += u", "_s;
        appendSpan(text, "fila"_L1, "filas"_L1, area.top, area.bottom);
        text += u": "_s + terrainLabel(area.before) + u" → "_s + terrainLabel(area.after) +
                u", "_s + cells(area.cellCount()) + u'\n';
    }
    for (const StartChange& change : difference.starts) {
        switch (change.kind) {
        case StartChange::Kind::Moved:
            text += QStringLiteral("comienzo movido: %1 → %2\n")
                        .arg(cellPlace(change.from), cellPlace(change.to));
            break;
        case StartChange::Kind::Added:
            text += QStringLiteral("comienzo añadido: %1\n").arg(cellPlace(change.to));
            break;
        case StartChange::Kind::Removed:
            text += QStringLiteral("comienzo quitado: %1\n").arg(cellPlace(change.from));
            break;
        }
    }
    if (difference.extraStartsChanged)
        text += QStringLiteral("cambia lo que sigue al octavo comienzo, que el juego no lee\n");
    const StartTotals starts = startTotals(difference);
    const int changed = int(difference.cells.size());
    text += QStringLiteral("total: %1 %2 en %3 %4; comienzos movidos: %5, añadidos: %6, "
                           "quitados: %7\n")
                .arg(cells(changed),
                     changed == 1 ? QStringLiteral("cambiada") : QStringLiteral("cambiadas"))
                .arg(areas.size())
                .arg(areas.size() == 1 ? QStringLiteral("zona") : QStringLiteral("zonas"))
                .arg(starts.moved)
                .arg(starts.added)
                .arg(starts.removed);
    return text;
}

QByteArray differenceJson(const QString& before, const QString& after,
                          const MapDifference& difference)
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
    return QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace quintaraz
