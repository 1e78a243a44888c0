// Reads the parts of a map in Tiled's JSON format that a map of the editor is made of.

#include "tiled/tmjreader.h"

#include "tiled/tiledlayerdata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace quintaraz {

namespace {

using namespace tiled;

/** What QJsonDocument's kinds of error come to, in Spanish. */
QString jsonErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("un objeto no se cierra con «}»");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("falta «:» tras un nombre");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("una lista no se cierra con «]»");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("falta una «,» entre dos valores");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("hay un valor que no es válido");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("el texto se acaba en medio de un número");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("hay un número que no es válido");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("hay una secuencia de escape que no es válida");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("hay un texto que no es UTF-8 válido");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("un texto no se cierra con comillas");
    case QJsonParseError::MissingObject:
        return QStringLiteral("se esperaba un objeto");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("hay demasiados objetos o listas unos dentro de otros");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("el documento es demasiado grande");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("sobra algo tras el final");
    default:
        return QStringLiteral("no se puede leer");
    }
}

/**
 * How many objects, lists and values a text holds, outside its strings. Each costs the JSON
 * reader tens of bytes, and 4 MiB of "[]," would cost it hundreds of megabytes.
 */
qsizetype jsonValues(QByteArrayView text)
{
    qsizetype values = 0;
    bool inString = false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (inString) {
            k += c == '\\';
            inString = c != '"';
        } else {
            inString = c == '"';
            values += c == ',' || c == '[' || c == '{';
        }
    }
    return values;
}

/** More than a 100 by 100 map with a dozen tile layers holds. */
constexpr qsizetype mostJsonValues = 200'000;

QString jsonText(const QJsonValue& value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2)).left(24);
}

/**
 * The fields of one JSON object, of the types Tiled writes: a field of another type is a
 * problem, never a number 0 or a default. The first problem is kept.
 */
class JsonFields {
public:
    JsonFields(const QJsonObject& object, QString what, QString& problem)
        : object_(object)
        , what_(std::move(what))
        , problem_(problem)
    {
    }

    double number(const char* key, std::optional<double> fallback = std::nullopt) const
    {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isDouble())
            return value.toDouble();
        if (value.isUndefined() && fallback)
            return *fallback;
        wrongType(key, value, "un número");
        return 0;
    }

    bool boolean(const char* key, bool fallback) const
    {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isBool() || value.isUndefined())
            return value.toBool(fallback);
        wrongType(key, value, "true o false");
        return fallback;
    }

    QString text(const char* key) const
    {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (!value.isString() && !value.isUndefined())
            wrongType(key, value, "un texto");
        return value.toString();
    }

private:
    void wrongType(const char* key, const QJsonValue& value, const char* type) const
    {
        if (problem_.isEmpty())
            problem_ = QStringLiteral("«%1» %2 debe ser %3, y es %4")
                           .arg(QLatin1String(key), what_, QString::fromUtf8(type),
                                value.isUndefined() ? QStringLiteral("nada") : jsonText(value));
    }

    const QJsonObject& object_;
    const QString what_;
    QString& problem_;
};

QString jsonTiles(const QJsonObject& layer, qsizetype cells, std::vector<quint32>& tiles)
{
    tiles.clear();
    if (layer.contains(u"chunks"))
        return chunkedLayerProblem();
    const QJsonValue data = layer.value(QLatin1String("data"));
    QString problem;
    const JsonFields fields(layer, QStringLiteral("de la capa"), problem);
    const QString encoding = fields.text("encoding");
    const QString compression = fields.text("compression");
    if (!problem.isEmpty())
        return problem;
    if (data.isString())
        return textTiles(encoding, compression, data.toString(), cells, tiles);
    if (!data.isArray())
        return QStringLiteral("sus datos deben ser una lista o un texto, y son %1")
            .arg(data.isUndefined() ? QStringLiteral("nada") : jsonText(data));
    const QJsonArray numbers = data.toArray();
    if (numbers.size() != cells)
        return countProblem(numbers.size(), cells);
    tiles.reserve(std::size_t(cells));
    for (const QJsonValue& value : numbers) {
        const std::optional<quint32> tile = tileNumber(value.isDouble() ? value.toDouble() : -1);
        if (!tile)
            return QStringLiteral("%1 no es el número de un patrón").arg(jsonText(value));
        tiles.push_back(*tile);
    }
    return {};
}

QString readTileset(const QJsonObject& object, TiledParts& parts)
{
    QString problem;
    const JsonFields fields(object, QStringLiteral("de un conjunto de patrones"), problem);
    const QString source = fields.text("source");
    const double firstGid = fields.number("firstgid");
    const QString name = source.isEmpty() ? fields.text("name") : externalTilesetName(source);
    if (!problem.isEmpty())
        return problem;
    const TilesetEntry tileset{name, std::fabs(firstGid) < 1e10 ? qint64(firstGid) : 0};
    if (double(tileset.firstGid) != firstGid)
        return QStringLiteral("el conjunto de patrones «%1» empieza en %2, que no es un número "
                              "entero")
            .arg(name)
            .arg(firstGid);
    if (parts.tilesets.size() == mostTilesets)
        return QStringLiteral("tiene más de %1 conjuntos de patrones").arg(mostTilesets);
    parts.tilesets.append(tileset);
    return firstGidProblem(tileset);
}

QString readStarts(const QJsonObject& layer, TiledParts& parts)
{
    QString problem;
    for (const QJsonValue& item : layer.value(QLatin1String("objects")).toArray()) {
        if (parts.starts.size() == mostStartObjects)
            return QStringLiteral("la capa «%1» tiene más de %2 objetos")
                .arg(QLatin1String(startLayer))
                .arg(mostStartObjects);
        const QJsonObject object = item.toObject();
        const JsonFields fields(object, QStringLiteral("de un objeto de «comienzos»"), problem);
        StartObject start;
        start.id = QString::number(fields.number("id", 0));
        start.name = fields.text("name");
        start.visible = fields.boolean("visible", true);
        if (object.contains(u"gid"))
            start.gid = tileNumber(fields.number("gid"));
        start.x = fields.number("x", 0);
        start.y = fields.number("y", 0);
        start.width = fields.number("width", tileSize);
        start.height = fields.number("height", tileSize);
        start.rotation = fields.number("rotation", 0);
        if (!problem.isEmpty())
            return problem;
        parts.starts.append(start);
    }
    return {};
}

LayerPlacement placementOf(const JsonFields& fields)
{
    return {fields.boolean("visible", true), fields.number("offsetx", 0),
            fields.number("offsety", 0)};
}

/** Whether a layer other than ours holds anything: objects, a picture, layers. */
bool holdsSomething(const QJsonObject& layer)
{
    return !layer.value(QLatin1String("objects")).toArray().isEmpty() ||
           !layer.value(QLatin1String("image")).toString().isEmpty() ||
           !layer.value(QLatin1String("layers")).toArray().isEmpty();
}

QString readLayers(const QJsonObject& map, TiledParts& parts)
{
    std::vector<quint32> otherTiles;
    for (const QJsonValue& value : map.value(QLatin1String("layers")).toArray()) {
        const QJsonObject layer = value.toObject();
        QString problem;
        const JsonFields fields(layer, QStringLiteral("de una capa"), problem);
        const QString type = fields.text("type");
        const QString name = fields.text("name");
        const LayerPlacement placement = placementOf(fields);
        if (!problem.isEmpty())
            return problem;
        if (type == u"tilelayer" && name == QLatin1String(terrainLayer)) {
            ++parts.terrainLayers;
            parts.terrainPlacement = placement;
            problem = inLayer(name, jsonTiles(layer, parts.cells(), parts.terrain));
        } else if (type == u"tilelayer") {
            problem = inLayer(name, jsonTiles(layer, parts.cells(), otherTiles));
            if (const qsizetype first = firstPainted(otherTiles); first >= 0)
                parts.paintedLayers.append({name, first});
        } else if (type == u"objectgroup" && name == QLatin1String(startLayer)) {
            ++parts.startLayers;
            parts.startPlacement = placement;
            problem = readStarts(layer, parts);
        } else if (holdsSomething(layer)) {
            parts.otherLayers << name;
        }
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

} // namespace

QString readTmjParts(const QByteArray& text, TiledParts& parts)
{
    if (jsonValues(text) > mostJsonValues)
        return QStringLiteral("el JSON tiene más de %1 valores, más que ningún mapa para el "
                              "editor")
            .arg(mostJsonValues);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("el JSON no es válido en %1: %2")
            .arg(placeInText(text, error.offset), jsonErrorText(error.error));
    const QJsonObject map = document.object();
    if (!document.isObject() || !map.value(u"layers").isArray())
        return QStringLiteral("no es un mapa de Tiled: faltan sus capas");
    QString problem;
    const JsonFields fields(map, QStringLiteral("del mapa"), problem);
    const auto whole = [&](const char* key) -> std::optional<qint64> {
        const double value = fields.number(key);
        if (value != std::floor(value) || std::fabs(value) > 1e9)
            return std::nullopt;
        return qint64(value);
    };
    const auto width = whole("width");
    const auto height = whole("height");
    const auto tileWidth = whole("tilewidth");
    const auto tileHeight = whole("tileheight");
    parts.orientation = fields.text("orientation");
    parts.infinite = fields.boolean("infinite", false);
    if (!problem.isEmpty())
        return problem;
    if (!width || !height || !tileWidth || !tileHeight)
        return QStringLiteral("el tamaño del mapa o de sus patrones no es un número entero");
    parts.width = *width;
    parts.height = *height;
    parts.tileWidth = *tileWidth;
    parts.tileHeight = *tileHeight;
    if (!layersReadable(parts))
        return {}; // refused as such, whatever the layers hold
    for (const QJsonValue& value : map.value(QLatin1String("tilesets")).toArray())
        if (QString problem = readTileset(value.toObject(), parts); !problem.isEmpty())
            return problem;
    return readLayers(map, parts);
}

} // namespace quintaraz
