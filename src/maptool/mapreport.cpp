#include "maptool/mapreport.h"

#include "map/gamemap.h"
#include "map/problemtext.h"

#include <QJsonArray>
#include <QJsonObject>

#include <array>

namespace quintaraz {

QString mapReport(const QString& file, const GameMap& map)
{
    const auto counts = map.terrainCounts();
    QString report = QStringLiteral("%1\n  tamaño: %2 casillas (Ancho = %3, Alto = %4)\n  terreno:")
                         .arg(file, sizeText(map.columns(), map.rows()),
                              QString::number(map.maxwidth), QString::number(map.maxheight));
    for (int t = 0; t < terrainCount; ++t)
        report += QStringLiteral("%1%2 %3")
                      .arg(t ? QStringLiteral(", ") : QStringLiteral(" "), terrainWord(t))
                      .arg(counts[t]);
    if (counts[terrainCount] > 0)
        report += QStringLiteral(", desconocido %1").arg(counts[terrainCount]);
    report += u'\n';
    for (int g = 0; g < playerCount; ++g)
        if (const std::optional<GridPoint> start = map.starts[g])
            report += QStringLiteral("  jugador %1: %2\n").arg(g + 1).arg(cellPlace(*start));
    return report;
}

QJsonObject mapReportJson(const QString& file, const GameMap& map)
{
    const auto counts = map.terrainCounts();
    QJsonObject terrains;
    for (int t = 0; t < terrainCount; ++t)
        terrains[QLatin1String(terrainKeys[t])] = counts[t];
    terrains[QLatin1String("desconocido")] = counts[terrainCount];
    QJsonArray starts;
    for (int g = 0; g < playerCount; ++g)
        if (const std::optional<GridPoint> start = map.starts[g])
            starts.append(QJsonObject{{QStringLiteral("jugador"), g + 1},
                                      {QStringLiteral("columna"), start->x},
                                      {QStringLiteral("fila"), start->y}});
    return {{QStringLiteral("archivo"), file},
            {QStringLiteral("columnas"), map.columns()},
            {QStringLiteral("filas"), map.rows()},
            {QStringLiteral("terreno"), terrains},
            {QStringLiteral("comienzos"), starts}};
}

} // namespace quintaraz
