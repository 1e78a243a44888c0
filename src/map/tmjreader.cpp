// Reads the parts of a map in Tiled's JSON format that a map of the editor is made of.

#include "map/tiledlayerdata.h"
#include "map/tiledparts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace quintaraz {

namespace {

using namespace tiled;

QString jsonTiles(const QJsonObject& layer, qsizetype cells, std::vector<quint32>& tiles)
{
    if (layer.contains(u"chunks"))
        return chunkedLayerProblem();
    const QJsonValue data = layer.value(QLatin1String("data"));
    if (data.isString())
        return textTiles(layer.value(QLatin1String("encoding")).toString(),
                         layer.value(QLatin1String("compression")).toString(), data.toString(),
                         cells, tiles);
    const QJsonArray numbers = data.toArray();
    if (numbers.size() != cells)
        return countProblem(numbers.size(), cells);
    tiles.reserve(std::size_t(cells));
    for (const QJsonValue& value : numbers) {
        const std::optional<quint32> tile = tileNumber(value.toDouble(-1));
        if (!tile)
            return inTerrainLayer(
                QStringLiteral("%1 no es el número de una casilla")
                    .arg(QString::fromUtf8(
                        QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))));
        tiles.push_back(*tile);
    }
    return {};
}

} // namespace

QString readTmjParts(const QByteArray& text, TiledParts& parts)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("el JSON no es válido en el byte %1: %2")
            .arg(error.offset)
            .arg(error.errorString());
    const QJsonObject map = document.object();
    if (!document.isObject() || !map.contains(u"layers"))
        return QStringLiteral("no es un mapa de Tiled: faltan sus capas");
    const auto whole = [&](QStringView key, double fallback) -> std::optional<qint64> {
        const double value = map.value(key).toDouble(fallback);
        if (value != std::floor(value) || std::fabs(value) > 1e9)
            return std::nullopt;
        return qint64(value);
    };
    const auto width = whole(u"width", 0);
    const auto height = whole(u"height", 0);
    const auto tileWidth = whole(u"tilewidth", 0);
    const auto tileHeight = whole(u"tileheight", 0);
    if (!width || !height || !tileWidth || !tileHeight)
        return QStringLiteral("el tamaño del mapa o de sus casillas no es un número entero");
    parts.width = *width;
    parts.height = *height;
    parts.tileWidth = *tileWidth;
    parts.tileHeight = *tileHeight;
    parts.orientation = map.value(QLatin1String("orientation")).toString();
    parts.infinite = map.value(QLatin1String("infinite")).toBool();
    if (!sizeProblem(parts).isEmpty())
        return {}; // refused as such, whatever the layers hold
    for (const QJsonValue& value : map.value(QLatin1String("tilesets")).toArray()) {
        const QJsonObject tileset = value.toObject();
        const QString source = tileset.value(QLatin1String("source")).toString();
        parts.tilesets.append({source.isEmpty() ? tileset.value(QLatin1String("name")).toString()
                                                : externalTilesetName(source),
                               qint64(tileset.value(QLatin1String("firstgid")).toDouble(0))});
    }
    for (const QJsonValue& value : map.value(QLatin1String("layers")).toArray()) {
        const QJsonObject layer = value.toObject();
        const QString type = layer.value(QLatin1String("type")).toString();
        const QString name = layer.value(QLatin1String("name")).toString();
        if (type == u"tilelayer" && name == QLatin1String(terrainLayer)) {
            ++parts.terrainLayers;
            parts.terrain.clear();
            if (QString problem = jsonTiles(layer, parts.cells(), parts.terrain);
                !problem.isEmpty())
                return problem;
        } else if (type == u"objectgroup" && name == QLatin1String(startLayer)) {
            ++parts.startLayers;
            for (const QJsonValue& item : layer.value(QLatin1String("objects")).toArray()) {
                const QJsonObject object = item.toObject();
                StartObject start;
                start.id = QString::number(object.value(QLatin1String("id")).toDouble());
                if (object.contains(u"gid"))
                    start.gid = tileNumber(object.value(QLatin1String("gid")).toDouble(-1));
                start.x = object.value(QLatin1String("x")).toDouble();
                start.y = object.value(QLatin1String("y")).toDouble();
                start.width = object.value(QLatin1String("width")).toDouble(tileSize);
                start.height = object.value(QLatin1String("height")).toDouble(tileSize);
                start.rotation = object.value(QLatin1String("rotation")).toDouble();
                parts.starts.append(start);
            }
        }
    }
    return {};
}

} // namespace quintaraz
