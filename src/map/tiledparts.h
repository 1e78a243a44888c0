#pragma once

#include "map/tiledmap.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace quintaraz {

/** A tileset of a Tiled map: its name (or its file's) and its first tile number. */
struct TilesetEntry {
    QString name;
    qint64 firstGid = 0;
};

/** An object of the start layer, as written. */
struct StartObject {
    QString id; // as written, for messages
    std::optional<quint32> gid;
    double x = 0;
    double y = 0;
    double width = tiled::tileSize;
    double height = tiled::tileSize;
    double rotation = 0;
};

/** The parts of a Tiled map that a map of ours is made of, as found in the file. */
struct TiledParts {
    QString orientation = QStringLiteral("orthogonal");
    qint64 width = 0;
    qint64 height = 0;
    qint64 tileWidth = 0;
    qint64 tileHeight = 0;
    bool infinite = false;
    QList<TilesetEntry> tilesets;
    int terrainLayers = 0;
    std::vector<quint32> terrain; // tile numbers as written, row by row
    int startLayers = 0;
    QList<StartObject> starts;

    qsizetype cells() const { return qsizetype(width * height); }
};

/** Why a map of that size, shape or tile size cannot be the editor's; nothing if it can. */
QString sizeProblem(const TiledParts& parts);

/** The name of a tileset kept in a file of its own: the file's name without extension. */
QString externalTilesetName(const QString& source);

/** The map's tileset of that name, if any. */
const TilesetEntry* tilesetNamed(const TiledParts& parts, const char* name);
/** The tileset a tile belongs to: the one whose first number is the highest up to it. */
const TilesetEntry* tilesetOf(const TiledParts& parts, quint32 tile);

/** Reads the parts of a TMX map; what is wrong with the file, if anything. */
QString readTmxParts(const QByteArray& text, TiledParts& parts);
/** The same for Tiled's JSON. */
QString readTmjParts(const QByteArray& text, TiledParts& parts);

} // namespace quintaraz
