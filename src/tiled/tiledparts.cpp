// The parts of a Tiled map, read by the TMX and the JSON reader alike; see tiledparts.h.

#include "tiled/tiledparts.h"

#include <QFileInfo>

#include <algorithm>

namespace quintaraz {

using namespace tiled;

QString shapeProblem(const TiledParts& parts)
{
    if (parts.infinite)
        return QStringLiteral("el mapa es infinito: desmarca Infinito en Mapa > Atributos del "
                              "Mapa… (Map > Map Properties…)");
    if (parts.orientation != u"orthogonal")
        return QStringLiteral("el mapa es «%1»: el editor solo tiene mapas ortogonales")
            .arg(parts.orientation);
    if (parts.tileWidth != tileSize || parts.tileHeight != tileSize)
        return QStringLiteral("los patrones miden %1 x %2 píxeles; los del editor, %3 x %3")
            .arg(parts.tileWidth)
            .arg(parts.tileHeight)
            .arg(tileSize);
    return {};
}

QString sizeProblem(const TiledParts& parts)
{
    const auto fits = [](qint64 cells) {
        return mapSizeLimits.contains(int(std::clamp<qint64>(cells - 1, -1, 1000)));
    };
    if (!fits(parts.width) || !fits(parts.height))
        return QStringLiteral("el mapa mide %1 x %2 celdas; el editor abre de %3 a %4 por lado: "
                              "cámbialo con Mapa > Redimensionar Mapa… (Map > Resize Map…)")
            .arg(parts.width)
            .arg(parts.height)
            .arg(mapSizeLimits.lowest + 1)
            .arg(mapSizeLimits.highest + 1);
    return {};
}

bool layersReadable(const TiledParts& parts)
{
    const auto readable = [](qint64 cells) { return cells >= 1 && cells <= mostCellsASide; };
    return shapeProblem(parts).isEmpty() && readable(parts.width) && readable(parts.height);
}

QString externalTilesetName(const QString& source)
{
    return QFileInfo(source).completeBaseName();
}

qsizetype firstPainted(const std::vector<quint32>& tiles)
{
    const auto painted = std::find_if(tiles.begin(), tiles.end(), [](quint32 t) { return t != 0; });
    return painted == tiles.end() ? -1 : qsizetype(painted - tiles.begin());
}

QString firstGidProblem(const TilesetEntry& tileset)
{
    if (tileset.firstGid >= 1)
        return {};
    return QStringLiteral("el conjunto de patrones «%1» empieza en el número %2, y en Tiled el "
                          "primero es 1")
        .arg(tileset.name)
        .arg(tileset.firstGid);
}

QString placeInText(QByteArrayView text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const QByteArrayView before = text.first(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    qsizetype column = 1;
    for (qsizetype k = lineStart; k < offset; ++k)
        column += (uchar(text[k]) & 0xC0) != 0x80; // UTF-8 continuation bytes are no characters
    return QStringLiteral("la línea %1, columna %2").arg(before.count('\n') + 1).arg(column);
}

const TilesetEntry* tilesetNamed(const TiledParts& parts, const char* name)
{
    for (const TilesetEntry& tileset : parts.tilesets)
        if (tileset.name == QLatin1String(name))
            return &tileset;
    return nullptr;
}

const TilesetEntry* tilesetOf(const TiledParts& parts, quint32 tile)
{
    const TilesetEntry* owner = nullptr;
    for (const TilesetEntry& tileset : parts.tilesets)
        if (tileset.firstGid <= qint64(tile) && (!owner || tileset.firstGid > owner->firstGid))
            owner = &tileset;
    return owner;
}

} // namespace quintaraz
