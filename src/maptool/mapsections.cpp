#include "maptool/mapsections.h"

#include "balance/balancefigures.h"
#include "maptool/balancereport.h"
#include "maptool/htmlwriter.h"
#include "maptool/picturekey.h"

#include <map>

namespace quintaraz::mapsections {

namespace {

QString number(std::optional<int> value)
{
    return value ? QString::number(*value) : QStringLiteral("-");
}

QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 2);
}

void cells(HtmlWriter& page, const QStringList& values)
{
    for (const QString& value : values)
        page.element("td", value);
}

} // namespace

QString verdictClass(const BalanceFigures& figures)
{
    return verdictWord(figures.verdict);
}

void writeNumberedPicture(HtmlWriter& page, const PagePicture& picture, const GameMap& map)
{
    page.open("figure", {{"class", QStringLiteral("mapa")}});
    page.open("div", {{"class", QStringLiteral("lienzo")}});
    page.empty("img", {{"src", page.link(picture.path)},
                       {"alt", picture.alt},
                       {"width", QString::number(picture.size.width())},
                       {"height", QString::number(picture.size.height())}});
    // In cells: the numbers keep their place over the picture at any width it is shown.
    const int columns = map.columns();
    const int rows = map.rows();
    const double font = std::max(1.2, std::max(columns, rows) / 36.0);
    page.open("svg", {{"class", QStringLiteral("numeros")},
                      {"viewBox", QStringLiteral("0 0 %1 %2").arg(columns).arg(rows)},
                      {"aria-hidden", QStringLiteral("true")},
                      {"focusable", QStringLiteral("false")}});
    std::map<std::pair<int, int>, QStringList> numbers; // by row, then column
    for (int g = 0; g < playerCount; ++g)
        if (const std::optional<GridPoint> start = map.starts[g]; start && map.contains(*start))
            numbers[{start->y, start->x}] << QString::number(g + 1);
    for (const auto& [cell, players] : numbers) {
        const auto [y, x] = cell;
        const QString label = players.join(u',');
        // Up and to the right of the marker, or where it fits inside the picture.
        const double width = font * 0.62 * label.size();
        const bool right = x + 1 + width <= columns;
        const bool above = y - font * 0.8 >= 0;
        page.element("text", label,
                     {{"x", QString::number(right ? x + 1 : x, 'f', 2)},
                      {"y", QString::number(above ? y + 0.2 : y + 1 + font * 0.8, 'f', 2)},
                      {"text-anchor", right ? QStringLiteral("start") : QStringLiteral("end")},
                      {"font-size", QString::number(font, 'f', 2)}});
    }
    page.close();
    page.close();
    page.element("figcaption", picture.caption);
    page.close();
}

void writeVerdict(HtmlWriter& page, const BalanceFigures& figures)
{
    page.open("p", {{"class", QStringLiteral("veredicto")}});
    page.text(QStringLiteral("Veredicto: "));
    page.element("strong", verdictWord(figures.verdict),
                 {{"class", QStringLiteral("sello ") + verdictClass(figures)}});
    page.text(QStringLiteral(": ") + verdictReason(figures) + u'.');
    page.close();
}

void writePlayersTable(HtmlWriter& page, const GameMap& map, const BalanceFigures& figures)
{
    const int radius = figures.settings.radius;
    QList<TableHeader> headers{{QStringLiteral("Jugador")},
                               {QStringLiteral("Comienzo")},
                               {QStringLiteral("Región")},
                               {QStringLiteral("Espacio a %1").arg(radius)}};
    for (const int multiple : radiusMultiples)
        headers.append({QStringLiteral("Árboles a %1").arg(radius * multiple)});
    for (const int multiple : radiusMultiples)
        headers.append({QStringLiteral("Parcelas a %1").arg(radius * multiple)});
    for (const char* header : {"Territorio", "con árboles", "con parcelas", "Rival cercano",
                               "Rival lejano", "Alcanza", "Paso estrecho"})
        headers.append({QString::fromUtf8(header)});
    page.openTable(QStringLiteral("Cifras de cada jugador (distancias en pasos)"), headers);
    for (int g = 0; g < playerCount; ++g) {
        const PlayerBalance& player = figures.players[g];
        const std::optional<GridPoint> start = map.starts[g];
        page.open("tr");
        page.open("th", {{"scope", QStringLiteral("row")}});
        page.empty("img", {{"src", page.link(picturekey::markerPath(g))},
                           {"alt", QString()},
                           {"width", QStringLiteral("16")},
                           {"height", QStringLiteral("16")}});
        page.text(QStringLiteral(" %1").arg(g + 1));
        page.close();
        QStringList values{start ? QStringLiteral("%1, %2").arg(start->x).arg(start->y)
                                 : QStringLiteral("-"),
                           QString::number(player.region), QString::number(player.space)};
        for (const int trees : player.trees)
            values << QString::number(trees);
        for (const int patches : player.soilPatches)
            values << QString::number(patches);
        values << QString::number(player.territoryCells) << QString::number(player.territoryTrees)
               << QString::number(player.territorySoilPatches) << number(player.nearestRival)
               << number(player.farthestRival) << QString::number(player.rivalsReached)
               << number(player.narrowestPass);
        cells(page, values);
        page.close();
    }
    page.closeTable();
    page.element("p", QStringLiteral("Casillas disputadas: %1.").arg(figures.disputedCells));
}

void writeMeasuresTable(HtmlWriter& page, const BalanceFigures& figures)
{
    page.openTable(QStringLiteral("Medidas: el peor y el mejor jugador"),
                   {{QStringLiteral("Medida")},
                    {QStringLiteral("Peor")},
                    {QStringLiteral("Jugador")},
                    {QStringLiteral("Mejor")},
                    {QStringLiteral("Jugador")},
                    {QStringLiteral("Razón")},
                    {QStringLiteral("Jain")}});
    const auto player = [](int g) { return g < 0 ? QStringLiteral("-") : QString::number(g + 1); };
    for (int m = 0; m < balanceMeasureCount; ++m) {
        const MeasureSpread& spread = figures.measures[std::size_t(m)];
        const bool weakest = BalanceMeasure(m) == figures.weakest;
        page.open("tr",
                  weakest ? HtmlAttributes{{"class", QStringLiteral("debil")}} : HtmlAttributes{});
        page.element("th",
                     measureLabel(BalanceMeasure(m), figures.settings.radius) +
                         (weakest ? QStringLiteral(" (la más débil)") : QString()),
                     {{"scope", QStringLiteral("row")}});
        cells(page, {number(spread.worst), player(spread.worstPlayer), number(spread.best),
                     player(spread.bestPlayer), ratioText(spread.ratio), ratioText(spread.jain)});
        page.close();
    }
    page.closeTable();
}

void writeSymmetriesTable(HtmlWriter& page, const BalanceFigures& figures)
{
    page.openTable(QStringLiteral("Simetrías"), {{QStringLiteral("Simetría")},
                                                 {QStringLiteral("Terreno roto")},
                                                 {QStringLiteral("Comienzos")},
                                                 {QStringLiteral("Exacta")}});
    for (const SymmetryCheck& check : figures.symmetries) {
        page.open("tr");
        page.element("th", symmetryName(check.symmetry), {{"scope", QStringLiteral("row")}});
        cells(page, {QString::number(check.brokenTerrain),
                     check.startsMatch ? QStringLiteral("sí") : QStringLiteral("no"),
                     check.exact() ? QStringLiteral("sí") : QStringLiteral("no")});
        page.close();
    }
    page.closeTable();
}

} // namespace quintaraz::mapsections
