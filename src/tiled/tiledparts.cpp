// The parts of a Tiled map, read by the TMX and the JSON reader alike; see tiledparts.h.

#include "tiled/tiledparts.h"

#include <QFileInfo>

#include <algorithm>

namespace quintaraz {

using namespace tiled;

std::optional<MapProblem> shapeProblem(const TiledParts& parts)
{
    if (parts.infinite)
        return MapProblem{.kind = ProblemKind::InfiniteMap};
    if (parts.orientation != u"orthogonal")
        return MapProblem{.kind = ProblemKind::NotOrthogonal, .name = parts.orientation};
    if (parts.tileWidth != tileSize || parts.tileHeight != tileSize)
        return MapProblem{.kind = ProblemKind::OtherTileSize,
                          .number = tileSize,
                          .values = {double(parts.tileWidth), double(parts.tileHeight)}};
    return std::nullopt;
}

std::optional<MapProblem> sizeProblem(const TiledParts& parts)
{
    const auto fits = [](qint64 cells) {
        return mapSizeLimits.contains(int(std::clamp<qint64>(cells - 1, -1, 1000)));
    };
    if (!fits(parts.width) || !fits(parts.height))
        return MapProblem{.kind = ProblemKind::SizeOutOfRange,
                          .values = {double(parts.width), double(parts.height)}};
    return std::nullopt;
}

bool layersReadable(const TiledParts& parts)
{
    const auto readable = [](qint64 cells) { return cells >= 1 && cells <= mostCellsASide; };
    return !shapeProblem(parts) && readable(parts.width) && readable(parts.height);
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

int tilesetNamed(const TiledParts& parts, const char* name)
{
    for (qsizetype k = 0; k < parts.tilesets.size(); ++k)
        if (parts.tilesets[k].name == QLatin1String(name))
            return int(k);
    return -1;
}

tiled::GidMapper gidMapperOf(const TiledParts& parts)
{
    std::vector<qint64> firstGids;
    for (const TilesetEntry& tileset : parts.tilesets)
        firstGids.push_back(tileset.firstGid);
    return tiled::GidMapper(std::move(firstGids));
}

} // namespace quintaraz
