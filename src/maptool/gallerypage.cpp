#include "maptool/gallerypage.h"

#include "balance/balancefigures.h"
#include "map/problemtext.h"
#include "maptool/balancereport.h"
#include "maptool/htmlwriter.h"
#include "maptool/mapsections.h"
#include "maptool/picturekey.h"
#include "system/filenames.h"

#include <QFileInfo>

namespace quintaraz {

namespace {

/** The commands that draw the same pictures and say the same figures, one a line. */
QStringList commands(const MapPageSource& source)
{
    // A name that begins with a dash would be read as an option.
    const QString file = (source.file.startsWith(u'-') ? QStringLiteral("-- ") : QString()) +
                         shellQuoted(source.file);
    const QString options =
        source.verdictArguments.isEmpty() ? QString() : source.verdictArguments.join(u' ') + u' ';
    return {
        QStringLiteral("quintaraz-map render %1 mapa.png").arg(file),
        QStringLiteral("quintaraz-map balance --picture equilibrio.png %2%1").arg(file, options),
        QStringLiteral("quintaraz-map balance --json %2%1").arg(file, options)};
}

MapSummary summaryOf(const MapPageSource& source, const GameMap& map, const BalanceFigures& figures)
{
    MapSummary summary;
    summary.name = printableName(source.file);
    summary.slug = source.slug;
    summary.digest = source.digest;
    summary.columns = map.columns();
    summary.rows = map.rows();
    summary.verdict = int(figures.verdict);
    summary.weakest = measureLabel(figures.weakest, figures.settings.radius);
    summary.ratio = figures.measure(figures.weakest).ratio;
    for (const SymmetryCheck& check : figures.symmetries)
        if (check.exact())
            summary.symmetries << symmetryName(check.symmetry);
    summary.reason = verdictReason(figures);
    return summary;
}

} // namespace

std::optional<MapPage> buildMapPage(const MapPageSource& source, const GameMap& map,
                                    const BalanceFigures& figures, const TileArt& art)
{
    PagePictures pictures = drawPagePictures(map, figures, art);
    if (!pictures.drawn())
        return std::nullopt;
    const QString name = printableName(source.file);
    const QString base = QStringLiteral("mapas/") + source.slug;
    const QString mapPicture = base + QStringLiteral("-mapa.png");
    const QString balancePicture = base + QStringLiteral("-equilibrio.png");
    const QString mapFile = base + QStringLiteral(".map");
    const QString size = QStringLiteral("%1 casillas").arg(sizeText(map.columns(), map.rows()));

    HtmlWriter page(name + QStringLiteral(" · ") + source.title, QStringLiteral("../"));
    page.open("header");
    page.open("nav", {{"aria-label", QStringLiteral("Galería")}});
    page.element("a", QStringLiteral("← ") + source.title,
                 {{"href", page.link(QStringLiteral("index.html"))}});
    page.close();
    page.element("h1", name);
    page.element("p", size + QStringLiteral("; radio R = %1 pasos.").arg(figures.settings.radius));
    mapsections::writeVerdict(page, figures);
    page.close();
    page.open("main");

    page.open("section", {{"aria-labelledby", QStringLiteral("mapa")}});
    page.element("h2", QStringLiteral("El mapa"), {{"id", QStringLiteral("mapa")}});
    mapsections::writeNumberedPicture(
        page,
        {mapPicture, pictures.size,
         QStringLiteral("El mapa %1, de %2, con el comienzo de cada jugador marcado con una cruz "
                        "de su color")
             .arg(name, size),
         QStringLiteral(
             "Como lo dibuja quintaraz-map render, a 25 píxeles por casilla; los números "
             "de los jugadores los pone esta página.")},
        map);
    picturekey::writeMapKey(page, map);
    page.close();

    page.open("section", {{"aria-labelledby", QStringLiteral("equilibrio")}});
    page.element("h2", QStringLiteral("El equilibrio"), {{"id", QStringLiteral("equilibrio")}});
    mapsections::writeNumberedPicture(
        page,
        {balancePicture, pictures.size,
         QStringLiteral("El mapa %1 con el territorio de cada jugador en líneas de su color, las "
                        "casillas disputadas en rejilla blanca y el paso más estrecho de cada "
                        "jugador enmarcado")
             .arg(name),
         QStringLiteral("Como lo dibuja quintaraz-map balance --picture.")},
        map);
    picturekey::writeBalanceKey(page, map, figures);
    mapsections::writePlayersTable(page, map, figures);
    mapsections::writeMeasuresTable(page, figures);
    mapsections::writeSymmetriesTable(page, figures);
    page.close();

    page.open("section", {{"aria-labelledby", QStringLiteral("archivo")}});
    page.element("h2", QStringLiteral("El archivo"), {{"id", QStringLiteral("archivo")}});
    page.open("p");
    page.text(QStringLiteral("El mapa tal como se leyó: "));
    page.element("a", QFileInfo(name).fileName(),
                 {{"href", page.link(mapFile)},
                  {"download", QFileInfo(name).fileName()},
                  {"type", QStringLiteral("text/plain")}});
    page.text(QStringLiteral(" (%1 bytes).").arg(source.bytes.size()));
    page.close();
    page.element("p",
                 QStringLiteral("Las mismas cifras y los mismos dibujos, desde la carpeta en la "
                                "que se hizo la galería:"));
    page.open("ul", {{"class", QStringLiteral("ordenes")}});
    for (const QString& command : commands(source)) {
        page.open("li");
        page.element("code", command);
        page.close();
    }
    page.close();
    page.close();

    MapPage made;
    made.summary = summaryOf(source, map, figures);
    made.summary.previewSize = pictures.previewSize;
    made.files = {{base + QStringLiteral(".html"), page.finished()},
                  {made.summary.preview(), pictures.preview},
                  {mapFile, source.bytes},
                  {mapPicture, {}},
                  {balancePicture, {}}};
    made.pictures = pictures;
    return made;
}

bool MapPage::finish()
{
    files[3].bytes = pictures.map.get();
    files[4].bytes = pictures.balance.get();
    pictures = {}; // the encoded bytes are held once, in the files
    for (const PlannedFile& file : files)
        summary.files << SiteFile{file.path, file.bytes.size()};
    return !files[3].bytes.isEmpty() && !files[4].bytes.isEmpty();
}

} // namespace quintaraz
