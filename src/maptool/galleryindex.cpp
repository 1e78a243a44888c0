#include "maptool/galleryindex.h"

#include "balance/balancefigures.h"
#include "map/problemtext.h"
#include "maptool/balancereport.h"
#include "maptool/htmlwriter.h"

#include <array>

namespace quintaraz {

namespace {

constexpr std::array<BalanceVerdict, 3> verdicts{
    BalanceVerdict::Balanced, BalanceVerdict::Unbalanced, BalanceVerdict::Unfair};

/** How many maps of each verdict, and of files that are no maps. */
QString countsText(const QList<MapSummary>& files)
{
    std::array<int, 3> counts{};
    int notMaps = 0;
    for (const MapSummary& file : files) {
        if (file.isMap())
            ++counts[std::size_t(file.verdict)];
        else
            ++notMaps;
    }
    const auto counted = [](int count, const QString& word) {
        return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? word : word + u's');
    };
    const int maps = int(files.size()) - notMaps;
    QString text = QStringLiteral("%1: %2, %3 y %4.")
                       .arg(counted(maps, QStringLiteral("mapa")),
                            counted(counts[0], verdictWord(BalanceVerdict::Balanced)),
                            counted(counts[1], verdictWord(BalanceVerdict::Unbalanced)),
                            counted(counts[2], verdictWord(BalanceVerdict::Unfair)));
    if (notMaps > 0)
        text += notMaps == 1 ? QStringLiteral(" 1 archivo no es un mapa.")
                             : QStringLiteral(" %1 archivos no son mapas.").arg(notMaps);
    return text;
}

/** The verdicts to show, as checkboxes that the script brings into view. */
void writeFilter(HtmlWriter& page)
{
    page.open(
        "form",
        {{"id", QStringLiteral("filtro")}, {"class", QStringLiteral("filtro")}, {"hidden", {}}});
    page.open("fieldset");
    page.element("legend", QStringLiteral("Mostrar los mapas"));
    for (const BalanceVerdict verdict : verdicts) {
        page.open("label");
        page.empty("input", {{"type", QStringLiteral("checkbox")},
                             {"name", QStringLiteral("veredicto")},
                             {"value", verdictWord(verdict)},
                             {"checked", {}}});
        page.text(QStringLiteral(" ") + verdictWord(verdict) + u's');
        page.close();
    }
    page.close();
    page.element("p", QString(),
                 {{"id", QStringLiteral("mostrados")}, {"role", QStringLiteral("status")}});
    page.close();
}

void writeMapRow(HtmlWriter& page, const MapSummary& map)
{
    const QString verdict = verdictWord(BalanceVerdict(map.verdict));
    page.open("tr", {{"data-veredicto", verdict}});
    page.open("td");
    page.open("a", {{"href", page.link(map.page())}, {"tabindex", QStringLiteral("-1")}});
    page.empty("img", {{"src", page.link(map.preview())},
                       {"alt", QStringLiteral("Vista previa de %1").arg(map.name)},
                       {"width", QString::number(map.previewSize.width())},
                       {"height", QString::number(map.previewSize.height())},
                       {"loading", QStringLiteral("lazy")}});
    page.close();
    page.close();
    page.open("th", {{"scope", QStringLiteral("row")}, {"data-orden", map.name}});
    page.element("a", map.name, {{"href", page.link(map.page())}});
    page.close();
    page.element("td", sizeText(map.columns, map.rows),
                 {{"data-orden", QString::number(map.columns * map.rows)}});
    page.open("td", {{"data-orden", QString::number(map.verdict)}});
    page.element("span", verdict, {{"class", QStringLiteral("sello ") + verdict}});
    page.close();
    page.element("td", map.weakest, {{"title", map.reason}});
    page.element("td", QString::number(map.ratio, 'f', 2),
                 {{"data-orden", QString::number(map.ratio, 'f', 6)}});
    page.element("td", map.symmetries.isEmpty() ? QStringLiteral("ninguna")
                                                : map.symmetries.join(QStringLiteral(", ")));
    page.close();
}

void writeMapsTable(HtmlWriter& page, const QList<MapSummary>& files)
{
    page.openTable(QStringLiteral("Mapas, cada uno con un enlace a su página"),
                   {{QStringLiteral("Vista previa")},
                    {QStringLiteral("Mapa"), "texto"},
                    {QStringLiteral("Tamaño"), "numero"},
                    {QStringLiteral("Veredicto"), "numero"},
                    {QStringLiteral("Medida más débil")},
                    {QStringLiteral("Razón"), "numero"},
                    {QStringLiteral("Simetrías exactas")}},
                   QStringLiteral("mapas"));
    for (const MapSummary& file : files)
        if (file.isMap())
            writeMapRow(page, file);
    page.closeTable();
}

void writeNotMapsTable(HtmlWriter& page, const QList<MapSummary>& files)
{
    page.element("h2", QStringLiteral("Archivos que no son mapas"));
    page.openTable(QStringLiteral("Archivos que el editor no abre, y por qué"),
                   {{QStringLiteral("Archivo")}, {QStringLiteral("Por qué no es un mapa")}},
                   QStringLiteral("no-mapas"));
    for (const MapSummary& file : files) {
        if (file.isMap())
            continue;
        page.open("tr");
        page.element("th", file.name, {{"scope", QStringLiteral("row")}});
        page.element("td", file.problem);
        page.close();
    }
    page.closeTable();
}

} // namespace

QByteArray galleryIndex(const QString& title, const QList<MapSummary>& files)
{
    HtmlWriter page(title, QString(), true);
    page.open("header");
    page.element("h1", title);
    page.element("p", countsText(files));
    page.close();
    page.open("main");
    writeFilter(page);
    writeMapsTable(page, files);
    if (std::any_of(files.begin(), files.end(),
                    [](const MapSummary& file) { return !file.isMap(); }))
        writeNotMapsTable(page, files);
    page.close();
    page.open("footer");
    page.element("p",
                 QStringLiteral("Hecho con quintaraz-map gallery. Cada página dice qué órdenes "
                                "dan las mismas cifras."));
    page.close();
    return page.finished();
}

} // namespace quintaraz
