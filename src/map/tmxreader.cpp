// Reads the parts of a TMX map that a map of the editor is made of.

#include "map/tiledlayerdata.h"
#include "map/tiledparts.h"

#include <QXmlStreamReader>

#include <cmath>

namespace quintaraz {

namespace {

using namespace tiled;

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
        // Refused as such, whatever the layers hold: no layer is read for a size that no
        // map of the editor has.
        if (!problem_.isEmpty() || !sizeProblem(parts).isEmpty())
            return xmlProblem(problem_);
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            const QXmlStreamAttributes attributes = xml_.attributes();
            const QStringView name = attributes.value(QLatin1String("name"));
            if (xml_.name() == u"tileset") {
                const QString source = attributes.value(QLatin1String("source")).toString();
                parts.tilesets.append(
                    {source.isEmpty() ? name.toString() : externalTilesetName(source),
                     number("firstgid")});
                xml_.skipCurrentElement();
            } else if (xml_.name() == u"layer" && name == QLatin1String(terrainLayer)) {
                ++parts.terrainLayers;
                readLayer(parts);
            } else if (xml_.name() == u"objectgroup" && name == QLatin1String(startLayer)) {
                ++parts.startLayers;
                readObjects(parts);
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
                .arg(xml_.columnNumber())
                .arg(xml_.errorString());
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

    void fail(const QString& problem)
    {
        if (problem_.isEmpty())
            problem_ = problem;
    }

    void readLayer(TiledParts& parts)
    {
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            if (xml_.name() != u"data") {
                xml_.skipCurrentElement();
                continue;
            }
            const QString encoding = xml_.attributes().value(QLatin1String("encoding")).toString();
            const QString compression =
                xml_.attributes().value(QLatin1String("compression")).toString();
            parts.terrain.clear();
            if (encoding.isEmpty()) {
                readTileElements(parts);
            } else if (encoding == u"csv") {
                readCsv(parts);
            } else {
                const QString text = xml_.readElementText(QXmlStreamReader::SkipChildElements);
                fail(textTiles(encoding, compression, text, parts.cells(), parts.terrain));
            }
        }
    }

    /** CSV, read as the reader gives it, without a copy of the whole text. */
    void readCsv(TiledParts& parts)
    {
        CsvTiles csv(parts.cells(), parts.terrain);
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::Characters)
                csv.read(xml_.text());
            else if (token == QXmlStreamReader::StartElement)
                return fail(chunkedLayerProblem());
            else if (token == QXmlStreamReader::EndElement)
                return fail(csv.finish());
        }
    }

    /** The oldest form: an element <tile gid="..."/> a cell. */
    void readTileElements(TiledParts& parts)
    {
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            if (xml_.name() == u"chunk")
                return fail(chunkedLayerProblem());
            if (xml_.name() == u"tile") {
                if (qsizetype(parts.terrain.size()) == parts.cells())
                    return fail(countProblem(parts.cells() + 1, parts.cells()));
                const qint64 gid = number("gid", 0);
                if (gid < 0 || gid > 0xFFFFFFFFll)
                    fail(inTerrainLayer(
                        QStringLiteral("%1 no es el número de una casilla").arg(gid)));
                parts.terrain.push_back(quint32(gid));
            }
            xml_.skipCurrentElement();
        }
        if (problem_.isEmpty() && qsizetype(parts.terrain.size()) != parts.cells())
            fail(countProblem(qsizetype(parts.terrain.size()), parts.cells()));
    }

    void readObjects(TiledParts& parts)
    {
        while (problem_.isEmpty() && xml_.readNextStartElement()) {
            if (xml_.name() != u"object") {
                xml_.skipCurrentElement();
                continue;
            }
            StartObject object;
            object.id = xml_.attributes().value(QLatin1String("id")).toString();
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
};

} // namespace

QString readTmxParts(const QByteArray& text, TiledParts& parts)
{
    return TmxReader(text).read(parts);
}

} // namespace quintaraz
