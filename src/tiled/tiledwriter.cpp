// Writes a map in Tiled's TMX and JSON formats; see tiledmap.h.

#include "tiled/tiledformat.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamWriter>

namespace quintaraz {

namespace {

using namespace tiled;

struct Tileset {
    const char* name;
    quint32 firstGid;
    int tileCount;
    const char* image;
    const char* file; // the tileset in a file of its own, as installed
};
constexpr std::array<Tileset, 2> tilesets{{
    {terrainTileset, terrainFirstGid, terrainCount, terrainImage, terrainTilesetFile},
    {playerTileset, playerFirstGid, playerCount, playerImage, playerTilesetFile},
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

/** The layer's tiles as Tiled writes CSV: a line a row, every number followed by a comma
 * but the last. */
QString csvRows(const GameMap& map)
{
    const int cells = map.columns() * map.rows();
    QByteArray csv(cells * 3 + 2, Qt::Uninitialized); // "6," or "6,\n" a cell
    char* out = csv.data();
    *out++ = '\n';
    for (int k = 0; k < cells; ++k) {
        // Terrain numbers were checked: each tile number is one digit.
        static_assert(terrainTile(terrainCount - 1) <= 9);
        *out++ = char('0' + terrainTile(map.terrain[k]));
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

QByteArray tmxText(const GameMap& map, const QString& tilesetFolder)
{
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
    xml.writeAttribute(QStringLiteral("orientation"), QStringLiteral("orthogonal"));
    xml.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(map.columns()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(map.rows()));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(tileSize));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(tileSize));
    xml.writeAttribute(QStringLiteral("infinite"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("nextlayerid"), QString::number(nextLayerId));
    xml.writeAttribute(QStringLiteral("nextobjectid"), QString::number(nextObjectId));
    for (const Tileset& tileset : tilesets) {
        if (!tilesetFolder.isEmpty()) {
            xml.writeEmptyElement(QStringLiteral("tileset"));
            xml.writeAttribute(QStringLiteral("firstgid"), QString::number(tileset.firstGid));
            xml.writeAttribute(QStringLiteral("source"),
                               tilesetFolder + u'/' + QLatin1String(tileset.file));
            continue;
        }
        xml.writeStartElement(QStringLiteral("tileset"));
        xml.writeAttribute(QStringLiteral("firstgid"), QString::number(tileset.firstGid));
        xml.writeAttribute(QStringLiteral("name"), QLatin1String(tileset.name));
        xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(tileSize));
        xml.writeAttribute(QStringLiteral("tileheight"), QString::number(tileSize));
        xml.writeAttribute(QStringLiteral("tilecount"), QString::number(tileset.tileCount));
        xml.writeAttribute(QStringLiteral("columns"), QString::number(tileset.tileCount));
        xml.writeEmptyElement(QStringLiteral("image"));
        xml.writeAttribute(QStringLiteral("source"), QLatin1String(tileset.image));
        xml.writeAttribute(QStringLiteral("width"), QString::number(tileset.tileCount * tileSize));
        xml.writeAttribute(QStringLiteral("height"), QString::number(tileSize));
        xml.writeEndElement();
    }
    xml.writeStartElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(terrainLayerId));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(terrainLayer));
    xml.writeAttribute(QStringLiteral("width"), QString::number(map.columns()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(map.rows()));
    xml.writeStartElement(QStringLiteral("data"));
    xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
    xml.writeCharacters(csvRows(map));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("objectgroup"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(startLayerId));
    xml.writeAttribute(QStringLiteral("name"), QLatin1String(startLayer));
    for (int p = 0; p < playerCount; ++p) {
        const GridPoint start = map.starts[p].value_or(GridPoint{});
        xml.writeEmptyElement(QStringLiteral("object"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(p + 1));
        xml.writeAttribute(QStringLiteral("name"), playerName(p));
        xml.writeAttribute(QStringLiteral("gid"), QString::number(playerTile(p)));
        xml.writeAttribute(QStringLiteral("x"), QString::number(start.x * tileSize));
        xml.writeAttribute(QStringLiteral("y"), QString::number((start.y + 1) * tileSize));
        xml.writeAttribute(QStringLiteral("width"), QString::number(tileSize));
        xml.writeAttribute(QStringLiteral("height"), QString::number(tileSize));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return text;
}

QByteArray tmjText(const GameMap& map, const QString& tilesetFolder)
{
    QJsonArray tiles;
    for (int k = 0; k < map.columns() * map.rows(); ++k)
        tiles.append(int(terrainTile(map.terrain[k])));
    QJsonArray objects;
    for (int p = 0; p < playerCount; ++p) {
        const GridPoint start = map.starts[p].value_or(GridPoint{});
        objects.append(QJsonObject{{"id", p + 1},
                                   {"name", playerName(p)},
                                   {"gid", int(playerTile(p))},
                                   {"x", start.x * tileSize},
                                   {"y", (start.y + 1) * tileSize},
                                   {"width", tileSize},
                                   {"height", tileSize},
                                   {"rotation", 0},
                                   {"type", ""},
                                   {"visible", true}});
    }
    // What Tiled needs to show a layer: it hides those without "visible" and "opacity".
    const QJsonArray layers{QJsonObject{{"id", terrainLayerId},
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
    QJsonArray sets;
    for (const Tileset& tileset : tilesets)
        sets.append(
            !tilesetFolder.isEmpty()
                ? QJsonObject{{"firstgid", int(tileset.firstGid)},
                              {"source", tilesetFolder + u'/' + QLatin1String(tileset.file)}}
                : QJsonObject{{"firstgid", int(tileset.firstGid)},
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
                               {"tilesets", sets},
                               {"layers", layers}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace

std::optional<TiledFormat> tiledFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("tmx"))
        return TiledFormat::Tmx;
    if (suffix == QLatin1String("tmj") || suffix == QLatin1String("json"))
        return TiledFormat::Tmj;
    return std::nullopt;
}

QByteArray tiledText(const GameMap& map, TiledFormat format, QString* error,
                     const QString& tilesetFolder)
{
    for (int k = 0; k < map.columns() * map.rows(); ++k) {
        if (isTerrain(map.terrain[k]))
            continue;
        if (error)
            *error = QStringLiteral("la celda de la columna %1, fila %2 tiene el terreno %3, "
                                    "que no tiene dibujo")
                         .arg(k % map.columns())
                         .arg(k / map.columns())
                         .arg(map.terrain[k]);
        return {};
    }
    return format == TiledFormat::Tmx ? tmxText(map, tilesetFolder) : tmjText(map, tilesetFolder);
}

} // namespace quintaraz
