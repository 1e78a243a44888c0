#include "maptool/picturekey.h"

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "map/problemtext.h"
#include "maptool/htmlwriter.h"
#include "render/balancepicture.h"
#include "render/mappicture.h"

#include <array>

namespace quintaraz::picturekey {

namespace {

/** The colours of the markers in the tile art, player by player, as people name them. */
constexpr std::array<const char*, playerCount> colourWords{
    "azul oscuro", "rojo", "verde", "celeste", "magenta", "verde oliva", "violeta", "gris"};

QString terrainPath(int terrain)
{
    return QStringLiteral("clave/terreno-%1.png").arg(terrain);
}

QString unknownTerrainPath()
{
    return QStringLiteral("clave/terreno-desconocido.png");
}

QString territoryPath(int player)
{
    return QStringLiteral("clave/territorio-%1.png").arg(player + 1);
}

QString disputedPath()
{
    return QStringLiteral("clave/disputada.png");
}

QString passPath(int player)
{
    return QStringLiteral("clave/paso-%1.png").arg(player + 1);
}

/** One grass cell drawn as the balance picture draws a cell of that owner or pass. */
QImage balanceSample(const TileArt& art, int owner, int passPlayer = -1)
{
    const GameMap cell(0, 0);
    BalanceFigures figures;
    figures.owners = {std::int8_t(owner)};
    if (passPlayer >= 0)
        figures.players[passPlayer].passCell = GridPoint{0, 0};
    QImage picture = MapPicture(art).render(cell, cellSize);
    drawBalance(picture, cellSize, cell, figures, art);
    return picture;
}

/** An entry of a key: its small picture, then what it means. */
void entry(HtmlWriter& page, const QString& picture, const QString& meaning)
{
    page.open("li");
    page.empty("img", {{"src", page.link(picture)},
                       {"alt", QString()},
                       {"width", QString::number(cellSize)},
                       {"height", QString::number(cellSize)}});
    page.text(QStringLiteral(" ") + meaning);
    page.close();
}

QString place(GridPoint cell)
{
    return QStringLiteral("columna %1, fila %2").arg(cell.x).arg(cell.y);
}

} // namespace

QString colourWord(int player)
{
    return QString::fromUtf8(colourWords[std::size_t(player)]);
}

QString markerPath(int player)
{
    return QStringLiteral("clave/jugador-%1.png").arg(player + 1);
}

QList<PlannedFile> pictures(const TileArt& art)
{
    QList<PlannedFile> files;
    for (int t = 0; t < terrainCount; ++t)
        files.append({terrainPath(t), encodePng(art.terrain(t))});
    files.append({unknownTerrainPath(), encodePng(art.unknownTerrain())});
    for (int g = 0; g < playerCount; ++g) {
        files.append({markerPath(g), encodePng(MapPicture::marker(art, g))});
        files.append({territoryPath(g), encodePng(balanceSample(art, g))});
        files.append({passPath(g), encodePng(balanceSample(art, nobodysCell, g))});
    }
    files.append({disputedPath(), encodePng(balanceSample(art, disputedCell))});
    return files;
}

void writeMapKey(HtmlWriter& page, const GameMap& map)
{
    page.element("h3", QStringLiteral("Jugadores"));
    page.open("ul", {{"class", QStringLiteral("clave")}});
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> start = map.starts[g];
        const QString where =
            !start ? QStringLiteral("sin comienzo")
            : map.contains(*start)
                ? QStringLiteral("comienza en la %1").arg(place(*start))
                : QStringLiteral("comienza fuera del mapa (%1)").arg(place(*start));
        entry(page, markerPath(g),
              QStringLiteral("%1: la cruz de color %2, con el número %1 al lado; %3")
                  .arg(g + 1)
                  .arg(colourWord(g), where));
    }
    page.close();
    page.element("h3", QStringLiteral("Terrenos"));
    page.open("ul", {{"class", QStringLiteral("clave")}});
    const std::array<int, terrainCount + 1> counts = map.terrainCounts();
    for (int t = 0; t < terrainCount; ++t)
        if (counts[std::size_t(t)] > 0)
            entry(page, terrainPath(t),
                  QStringLiteral("%1 (%2): %3 casillas")
                      .arg(terrainWord(t))
                      .arg(t)
                      .arg(counts[std::size_t(t)]));
    if (counts[terrainCount] > 0)
        entry(page, unknownTerrainPath(),
              QStringLiteral("un número que no es ningún terreno: %1 casillas")
                  .arg(counts[terrainCount]));
    page.close();
}

void writeBalanceKey(HtmlWriter& page, const GameMap& map, const BalanceFigures& figures)
{
    page.open("ul", {{"class", QStringLiteral("clave")}});
    for (int g = 0; g < playerCount; ++g)
        entry(page, territoryPath(g),
              QStringLiteral("líneas de color %1: el territorio del jugador %2, %3 casillas a "
                             "las que llega antes que nadie")
                  .arg(colourWord(g))
                  .arg(g + 1)
                  .arg(figures.players[g].territoryCells));
    entry(page, disputedPath(),
          QStringLiteral("rejilla blanca: %1 casillas disputadas, a las que llegan primero dos o "
                         "más jugadores a la vez")
              .arg(figures.disputedCells));
    QStringList onStart; // players whose narrowest pass is their own start: no frame
    for (int g = 0; g < playerCount; ++g) {
        const PlayerBalance& player = figures.players[g];
        if (!player.passCell || !player.narrowestPass)
            continue;
        if (map.startAt(*player.passCell) >= 0) {
            onStart << QString::number(g + 1);
            continue;
        }
        entry(page, passPath(g),
              QStringLiteral("marco de color %1: el paso más estrecho del jugador %2 hacia su "
                             "rival más cercano, de %3 casillas de ancho, en la %4")
                  .arg(colourWord(g))
                  .arg(g + 1)
                  .arg(*player.narrowestPass)
                  .arg(place(*player.passCell)));
    }
    page.close();
    QString starts = QStringLiteral("Las casillas de comienzo no llevan líneas: su marcador se ve "
                                    "entero.");
    if (onStart.size() == 1)
        starts += QStringLiteral(" El paso más estrecho del jugador %1 es su propio comienzo, que "
                                 "no lleva marco.")
                      .arg(onStart.first());
    else if (onStart.size() > 1)
        starts +=
            QStringLiteral(" El paso más estrecho de los jugadores %1 y %2 es su propio "
                           "comienzo, que no lleva marco.")
                .arg(onStart.mid(0, onStart.size() - 1).join(QStringLiteral(", ")), onStart.last());
    page.element("p", starts);
}

} // namespace quintaraz::picturekey
