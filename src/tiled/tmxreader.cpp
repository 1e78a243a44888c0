// Reads the parts of a TMX map that a map of the editor is made of.

#include "tiled/tmxreader.h"

#include "tiled/tiledlayerdata.h"

#include <QXmlStreamReader>

#include <cmath>

namespace quintaraz {

namespace {

using namespace tiled;

/** What QXmlStreamReader's kinds of error come to, in Spanish. */
QString xmlErrorText(QXmlStreamReader::Error error)
{
    switch (error) {
    case QXmlStreamReader::PrematureEndOfDocumentError:
        return QStringLiteral("el archivo se acaba antes de cerrar todos sus elementos");
    case QXmlStreamReader::NotWellFormedError:
        return QStringLiteral("no está bien formado (falta o sobra un carácter, una comilla, "
                              "o un elemento se cierra con otro nombre)");
    default:
        return QStringLiteral("no se puede leer");
    }
}

class TmxReader {
public:
    explicit TmxReader(const QByteArray& text)
        : xml_(text)
    {
    }

    QString read(TiledParts& parts)
    {
        if (!xml_.readNextStartElement() || xml_.name() != u"map")
            return xmlProblem(QStringLiteral("no es un mapa de Tiled: falta <map>"));
        parts.orientation = xml_.attributes().value(QLatin1String("orientation")).toString();
        parts.width = number("width");
        parts.height = number("height");
        parts.tileWidth = number("tilewidth");
        parts.tileHeight = number("tileheight");
        parts.infinite = number("infinite", 0) != 0;
        // Refused as such, whatever the layers hold: no layer is read for a shape that no
        // map of the editor has, nor for a size far beyond.
        if (!problem_.isEmpty() || !layersReadable(parts))
            return xmlProblem(problem_);
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            const QString name = xml_.attributes().value(QLatin1String("name")).toString();
            if (xml_.name() == u"tileset") {
                readTileset(parts);
            } else if (xml_.name() == u"layer" && name == QLatin1String(terrainLayer)) {
                ++parts.terrainLayers;
                parts.terrainPlacement = placement();
                readLayer(name, parts.cells(), parts.terrain);
            } else if (xml_.name() == u"layer") {
                readLayer(name, parts.cells(), otherTiles_);
                if (const qsizetype first = firstPainted(otherTiles_); first >= 0)
                    parts.paintedLayers.append({name, first});
            } else if (xml_.name() == u"objectgroup" && name == QLatin1String(startLayer)) {
                ++parts.startLayers;
                parts.startPlacement = placement();
                readObjects(parts);
            } else if (xml_.name() == u"objectgroup" || xml_.name() == u"imagelayer" ||
                       xml_.name() == u"group") {
                if (holdsSomething())
                    parts.otherLayers << name;
            } else {
                xml_.skipCurrentElement();
            }
        }
        return xmlProblem(problem_);
    }

private:
    QString xmlProblem(const QString& problem)
    {
        if (xml_.hasError())
            return QStringLiteral("el XML no es válido en la línea %1, columna %2: %3")
                .arg(xml_.lineNumber())
                .arg(xml_.columnNumber() + 1)
                .arg(xmlErrorText(xml_.error()));
        return problem;
    }

    /** An attribute of the current element that must be a whole number. */
    qint64 number(const char* attribute, std::optional<qint64> fallback = std::nullopt)
    {
        const QStringView text = xml_.attributes().value(QLatin1String(attribute));
        bool valid = false;
        const qint64 value = text.toLongLong(&valid);
        if (valid || (text.isEmpty() && fallback))
            return valid ? value : *fallback;
        fail(QStringLiteral("el atributo %1 de <%2> debe ser un número entero, y es «%3»")
                 .arg(QLatin1String(attribute), xml_.name(), text.left(24)));
        return 0;
    }

    double decimal(const char* attribute, double fallback)
    {
        const QStringView text = xml_.attributes().value(QLatin1String(attribute));
        if (text.isEmpty())
            return fallback;
        bool valid = false;
        const double value = text.toDouble(&valid);
        if (!valid || !std::isfinite(value))
            fail(QStringLiteral("el atributo %1 de <%2> debe ser un número, y es «%3»")
                     .arg(QLatin1String(attribute), xml_.name(), text.left(24)));
        return value;
    }

    LayerPlacement placement()
    {
        return {number("visible", 1) != 0, decimal("offsetx", 0), decimal("offsety", 0)};
    }

    void fail(const QString& problem)
    {
        if (problem_.isEmpty())
            problem_ = problem;
    }

    void readTileset(TiledParts& parts)
    {
        const QString source = xml_.attributes().value(QLatin1String("source")).toString();
        const TilesetEntry tileset{source.isEmpty()
                                       ? xml_.attributes().value(QLatin1String("name")).toString()
                                       : externalTilesetName(source),
                                   number("firstgid")};
        if (problem_.isEmpty())
            fail(firstGidProblem(tileset));
        if (parts.tilesets.size() == mostTilesets)
            fail(QStringLiteral("tiene más de %1 conjuntos de patrones").arg(mostTilesets));
        parts.tilesets.append(tileset);
        xml_.skipCurrentElement();
    }

    /** Whether the current layer holds an element other than its properties; read to its end. */
    bool holdsSomething()
    {
        bool holds = false;
        while (xml_.readNextStartElement()) {
            holds = holds || xml_.name() != u"properties";
            xml_.skipCurrentElement();
        }
        return holds;
    }

    void readLayer(const QString& layer, qsizetype cells, std::vector<quint32>& tiles)
    {
        tiles.clear();
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            if (xml_.name() != u"data") {
                xml_.skipCurrentElement();
                continue;
            }
            const QString encoding = xml_.attributes().value(QLatin1String("encoding")).toString();
            const QString compression =
                xml_.attributes().value(QLatin1String("compression")).toString();
            tiles.clear();
            if (encoding.isEmpty()) {
                fail(inLayer(layer, readTileElements(cells, tiles)));
            } else if (encoding == u"csv") {
                fail(inLayer(layer, readCsv(cells, tiles)));
            } else {
                const QString text = xml_.readElementText(QXmlStreamReader::SkipChildElements);
                fail(inLayer(layer, textTiles(encoding, compression, text, cells, tiles)));
            }
        }
    }

    /** CSV, read as the reader gives it, without a copy of the whole text. */
    QString readCsv(qsizetype cells, std::vector<quint32>& tiles)
    {
        CsvTiles csv(cells, tiles);
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::Characters)
                csv.read(xml_.text());
            else if (token == QXmlStreamReader::StartElement)
                return chunkedLayerProblem();
            else if (token == QXmlStreamReader::EndElement)
                return csv.finish();
        }
        return {};
    }

    /** The oldest form: an element <tile gid="..."/> a cell. */
    QString readTileElements(qsizetype cells, std::vector<quint32>& tiles)
    {
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            if (xml_.name() == u"chunk")
                return chunkedLayerProblem();
            if (xml_.name() == u"tile") {
                if (qsizetype(tiles.size()) == cells)
                    return countProblem(cells + 1, cells);
                const qint64 gid = number("gid", 0);
                if (gid < 0 || gid > 0xFFFFFFFFll)
                    return QStringLiteral("%1 no es el número de un patrón").arg(gid);
                tiles.push_back(quint32(gid));
            }
            xml_.skipCurrentElement();
        }
        if (problem_.isEmpty() && qsizetype(tiles.size()) != cells)
            return countProblem(qsizetype(tiles.size()), cells);
        return {};
    }

    void readObjects(TiledParts& parts)
    {
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            if (xml_.name() != u"object") {
                xml_.skipCurrentElement();
                continue;
            }
            if (parts.starts.size() == mostStartObjects)
                return fail(QStringLiteral("la capa «%1» tiene más de %2 objetos")
                                .arg(QLatin1String(startLayer))
                                .arg(mostStartObjects));
            StartObject object;
            object.id = xml_.attributes().value(QLatin1String("id")).toString();
            if (object.id.isEmpty())
                object.id = QStringLiteral("sin id");
            object.name = xml_.attributes().value(QLatin1String("name")).toString();
            object.visible = number("visible", 1) != 0;
            if (xml_.attributes().hasAttribute(QLatin1String("gid"))) {
                const qint64 gid = number("gid");
                if (gid >= 0 && gid <= 0xFFFFFFFFll)
                    object.gid = quint32(gid);
            }
            object.x = decimal("x", 0);
            object.y = decimal("y", 0);
            object.width = decimal("width", tileSize);
            object.height = decimal("height", tileSize);
            object.rotation = decimal("rotation", 0);
            parts.starts.append(object);
            xml_.skipCurrentElement();
        }
    }

    QXmlStreamReader xml_;
    QString problem_;
    std::vector<quint32> otherTiles_; // the tiles of the last other tile layer
};

/**
 * The most attributes an element, and the most elements one inside another, that a file
 * may have. Tiled writes a dozen and a handful; the XML reader holds each of them, and a
 * file of 4 MiB could make it hold a million.
 */
constexpr int mostAttributes = 100;
constexpr int mostDepth = 100;

/** Where the markup of a TMX file holds what Tiled never writes, and what it is. */
struct MarkupProblem {
    qsizetype at = -1;
    QString what;
};

/**
 * Looks over the markup before the XML reader does: a document type or entity declaration
 * (an entity can stand for gigabytes), an element with too many attributes, or too deep.
 * Malformed markup is left for the XML reader to say.
 */
MarkupProblem markupProblem(QByteArrayView text)
{
    const auto skipTo = [&](qsizetype from, QByteArrayView end) {
        const qsizetype found = text.indexOf(end, from);
        return found < 0 ? text.size() : found + end.size();
    };
    int depth = 0;
    for (qsizetype k = text.indexOf('<'); k >= 0; k = text.indexOf('<', k)) {
        const QByteArrayView tag = text.sliced(k);
        if (tag.startsWith("<!DOCTYPE") || tag.startsWith("<!ENTITY"))
            return {k, QStringLiteral("declara un tipo de documento o entidades")};
        if (tag.startsWith("<!--")) {
            k = skipTo(k + 4, "-->");
        } else if (tag.startsWith("<![CDATA[")) {
            k = skipTo(k + 9, "]]>");
        } else if (tag.startsWith("<?")) {
            k = skipTo(k + 2, "?>");
        } else if (tag.startsWith("</")) {
            --depth;
            k += 2;
        } else {
            // A start tag, to its '>'; attribute values may hold '>' but never '<'.
            int attributes = 0;
            char quote = 0;
            qsizetype end = k + 1;
            for (; end < text.size() && (quote || text[end] != '>'); ++end) {
                const char c = text[end];
                if (quote)
                    quote = c == quote ? 0 : quote;
                else if (c == '"' || c == '\'')
                    quote = c;
                else
                    attributes += c == '=';
            }
            if (attributes > mostAttributes)
                return {k, QStringLiteral("tiene un elemento con más de %1 atributos")
                               .arg(mostAttributes)};
            if (end < text.size() && text[end - 1] != '/' && ++depth > mostDepth)
                return {
                    k,
                    QStringLiteral("tiene más de %1 elementos uno dentro de otro").arg(mostDepth)};
            k = end;
        }
    }
    return {};
}

} // namespace

QString readTmxParts(const QByteArray& text, TiledParts& parts)
{
    if (const MarkupProblem markup = markupProblem(text); markup.at >= 0)
        return QStringLiteral("el XML %1 en %2, y Tiled nunca lo escribe")
            .arg(markup.what, placeInText(text, markup.at));
    return TmxReader(text).read(parts);
}

} // namespace quintaraz
