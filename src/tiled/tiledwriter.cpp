// Writes a map in Tiled's TMX and JSON formats; see tiledwriter.h.

#include "tiled/tiledwriter.h"

#include "map/problemtext.h"
#include "tiled/gidmapper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QXmlStreamWriter>

namespace quintaraz {

namespace {

using namespace tiled;

struct Tileset {
    GidMapper::OurTileset which;
    const char* name;
    int tileCount;
    const char* image;
    const char* file; // the tileset in a file of its own, as installed
};
constexpr std::array<Tileset, 2> tilesets{{
    {GidMapper::Terrains, terrainTileset, terrainCount, terrainImage, terrainTilesetFile},
    {GidMapper::Players, playerTileset, playerCount, playerImage, playerTilesetFile},
}};

// The ids Tiled gives the two layers and the eight objects, and the next ones it would give.
constexpr int terrainLayerId = 1;
constexpr int startLayerId = 2;
constexpr int nextLayerId = 3;
constexpr int nextObjectId = playerCount + 1;

QString playerName(int player)
{
    return QStringLiteral("Jugador %1").arg(player + 1);
}

/** A player's marker as Tiled places a tile object: by its bottom-left corner, in pixels. */
QPoint markerCorner(const GameMap& map, int player)
{
    const GridPoint start = map.starts[std::size_t(player)].value_or(GridPoint{});
    return {start.x * tileSize, (start.y + 1) * tileSize};
}

/** The layer's tiles as Tiled writes CSV: a line a row, every number followed by a comma
 * but the last. */
QString csvRows(const GameMap& map, const GidMapper& gids)
{
    const int cells = map.cellCount();
    QByteArray csv(cells * 3 + 2, Qt::Uninitialized); // "6," or "6,\n" a cell
    char* out = csv.data();
    *out++ = '\n';
    for (int k = 0; k < cells; ++k) {
        // Terrain numbers were checked: each tile number is one digit.
        *out++ = char('0' + gids.gidOf(GidMapper::Terrains, map.terrain[std::size_t(k)]));
        if (k + 1 == cells)
            break;
        *out++ = ',';
        if (k % map.columns() == map.columns() - 1)
            *out++ = '\n';
    }
    *out++ = '\n';
    csv.truncate(out - csv.constData());
    return QString::fromLatin1(csv);
}

/** Writes the attributes of an element, in their order. */
void writeAttributes(QXmlStreamWriter& xml,
                     std::initializer_list<std::pair<const char*, QString>> attributes)
{
    for (const auto& [name, value] : attributes)
        xml.writeAttribute(QLatin1String(name), value);
}

void writeTmxTilesets(QXmlStreamWriter& xml, const GidMapper& gids, const QString& tilesetFolder)
{
    for (const Tileset& tileset : tilesets) {
        const QString firstGid = QString::number(gids.firstGid(tileset.which));
        if (!tilesetFolder.isEmpty()) {
            xml.writeEmptyElement(QStringLiteral("tileset"));
            writeAttributes(xml, {{"firstgid", firstGid},
                                  {"source", tilesetFolder + u'/' + QLatin1String(tileset.file)}});
            continue;
        }
        xml.writeStartElement(QStringLiteral("tileset"));
        writeAttributes(xml, {{"firstgid", firstGid},
                              {"name", QLatin1String(tileset.name)},
                              {"tilewidth", QString::number(tileSize)},
                              {"tileheight", QString::number(tileSize)},
                              {"tilecount", QString::number(tileset.tileCount)},
                              {"columns", QString::number(tileset.tileCount)}});
        xml.writeEmptyElement(QStringLiteral("image"));
        writeAttributes(xml, {{"source", QLatin1String(tileset.image)},
                              {"width", QString::number(tileset.tileCount * tileSize)},
                              {"height", QString::number(tileSize)}});
        xml.writeEndElement();
    }
}

void writeTmxLayers(QXmlStreamWriter& xml, const GameMap& map, const GidMapper& gids)
{
    xml.writeStartElement(QStringLiteral("layer"));
    writeAttributes(xml, {{"id", QString::number(terrainLayerId)},
                          {"name", QLatin1String(terrainLayer)},
                          {"width", QString::number(map.columns())},
                          {"height", QString::number(map.rows())}});
    xml.writeStartElement(QStringLiteral("data"));
    xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
    xml.writeCharacters(csvRows(map, gids));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("objectgroup"));
    writeAttributes(xml,
                    {{"id", QString::number(startLayerId)}, {"name", QLatin1String(startLayer)}});
    for (int p = 0; p < playerCount; ++p) {
        const QPoint corner = markerCorner(map, p);
        xml.writeEmptyElement(QStringLiteral("object"));
        writeAttributes(xml, {{"id", QString::number(p + 1)},
                              {"name", playerName(p)},
                              {"gid", QString::number(gids.gidOf(GidMapper::Players, p))},
                              {"x", QString::number(corner.x())},
                              {"y", QString::number(corner.y())},
                              {"width", QString::number(tileSize)},
                              {"height", QString::number(tileSize)}});
    }
    xml.writeEndElement();
}

QByteArray tmxText(const GameMap& map, const QString& tilesetFolder)
{
    const GidMapper gids = GidMapper::ours();
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    writeAttributes(xml, {{"version", QStringLiteral("1.8")},
                          {"orientation", QStringLiteral("orthogonal")},
                          {"renderorder", QStringLiteral("right-down")},
                          {"width", QString::number(map.columns())},
                          {"height", QString::number(map.rows())},
                          {"tilewidth", QString::number(tileSize)},
                          {"tileheight", QString::number(tileSize)},
                          {"infinite", QStringLiteral("0")},
                          {"nextlayerid", QString::number(nextLayerId)},
                          {"nextobjectid", QString::number(nextObjectId)}});
    writeTmxTilesets(xml, gids, tilesetFolder);
    writeTmxLayers(xml, map, gids);
    xml.writeEndDocument();
    return text;
}

QJsonArray tmjTilesets(const GidMapper& gids, const QString& tilesetFolder)
{
    QJsonArray sets;
    for (const Tileset& tileset : tilesets) {
        const int firstGid = int(gids.firstGid(tileset.which));
        sets.append(
            !tilesetFolder.isEmpty()
                ? QJsonObject{{"firstgid", firstGid},
                              {"source", tilesetFolder + u'/' + QLatin1String(tileset.file)}}
                : QJsonObject{{"firstgid", firstGid},
                              {"name", tileset.name},
                              {"tilewidth", tileSize},
                              {"tileheight", tileSize},
                              {"tilecount", tileset.tileCount},
                              {"columns", tileset.tileCount},
                              {"image", tileset.image},
                              {"imagewidth", tileset.tileCount * tileSize},
                              {"imageheight", tileSize},
                              {"margin", 0},
                              {"spacing", 0}});
    }
    return sets;
}

QJsonArray tmjLayers(const GameMap& map, const GidMapper& gids)
{
    QJsonArray tiles;
    for (const std::int16_t terrain : map.terrain)
        tiles.append(int(gids.gidOf(GidMapper::Terrains, terrain)));
    QJsonArray objects;
    for (int p = 0; p < playerCount; ++p) {
        const QPoint corner = markerCorner(map, p);
        objects.append(QJsonObject{{"id", p + 1},
                                   {"name", playerName(p)},
                                   {"gid", int(gids.gidOf(GidMapper::Players, p))},
                                   {"x", corner.x()},
                                   {"y", corner.y()},
                                   {"width", tileSize},
                                   {"height", tileSize},
                                   {"rotation", 0},
                                   {"type", ""},
                                   {"visible", true}});
    }
    // What Tiled needs to show a layer: it hides those without "visible" and "opacity".
    return {QJsonObject{{"id", terrainLayerId},
                        {"name", terrainLayer},
                        {"type", "tilelayer"},
                        {"width", map.columns()},
                        {"height", map.rows()},
                        {"x", 0},
                        {"y", 0},
                        {"opacity", 1},
                        {"visible", true},
                        {"data", tiles}},
            QJsonObject{{"id", startLayerId},
                        {"name", startLayer},
                        {"type", "objectgroup"},
                        {"draworder", "topdown"},
                        {"x", 0},
                        {"y", 0},
                        {"opacity", 1},
                        {"visible", true},
                        {"objects", objects}}};
}

QByteArray tmjText(const GameMap& map, const QString& tilesetFolder)
{
    const GidMapper gids = GidMapper::ours();
    const QJsonObject document{{"type", "map"},
                               {"version", "1.8"},
                               {"orientation", "orthogonal"},
                               {"renderorder", "right-down"},
                               {"width", map.columns()},
                               {"height", map.rows()},
                               {"tilewidth", tileSize},
                               {"tileheight", tileSize},
                               {"infinite", false},
                               {"nextlayerid", nextLayerId},
                               {"nextobjectid", nextObjectId},
                               {"tilesets", tmjTilesets(gids, tilesetFolder)},
                               {"layers", tmjLayers(map, gids)}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace

QByteArray tiledText(const GameMap& map, TiledFormat format, QString* error,
                     const QString& tilesetFolder)
{
    for (int k = 0; k < map.cellCount(); ++k) {
        const int terrain = map.terrain[std::size_t(k)];
        if (isTerrain(terrain))
            continue;
        if (error)
            *error = QStringLiteral("la casilla de la %1 tiene el terreno %2, que no tiene dibujo")
                         .arg(cellPlace(k % map.columns(), k / map.columns()))
                         .arg(terrain);
        return {};
    }
    return format == TiledFormat::Tmx ? tmxText(map, tilesetFolder) : tmjText(map, tilesetFolder);
}

} // namespace quintaraz
