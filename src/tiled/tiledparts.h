#pragma once

#include "map/mapproblems.h"
#include "tiled/gidmapper.h"
#include "tiled/tiledformat.h"

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

/** How a layer is shown: a layer of ours is shown where it lies. */
struct LayerPlacement {
    bool visible = true;
    double offsetX = 0;
    double offsetY = 0;
};

/** An object of the start layer, as written. */
struct StartObject {
    QString id;   // as written, for messages
    QString name; // "Jugador 3", as the export names it, or whatever the user wrote
    bool visible = true;
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
    LayerPlacement terrainPlacement;
    std::vector<quint32> terrain; // tile numbers as written, row by row
    int startLayers = 0;
    LayerPlacement startPlacement;
    QList<StartObject> starts;
    /** Other tile layers with painted cells, each with its first painted cell. */
    QList<std::pair<QString, qsizetype>> paintedLayers;
    /** Other layers that hold something: objects, pictures, groups. */
    QStringList otherLayers;

    qsizetype cells() const { return qsizetype(width * height); }
};

/**
 * The most tilesets, and objects in the start layer, that a file may hold: a map of ours has
 * two tilesets and eight starts, and a file with thousands is refused before it costs time.
 */
inline constexpr int mostTilesets = 64;
inline constexpr int mostStartObjects = 64;
/** The most cells a side of a map whose layers are read: at most 4 MB of tile numbers. */
inline constexpr qint64 mostCellsASide = 1000;

/** The first cell of tiles that is painted, or -1. */
qsizetype firstPainted(const std::vector<quint32>& tiles);

/** The problem of a tileset whose first tile number is not at least 1, or nothing. */
QString firstGidProblem(const TilesetEntry& tileset);

/** Where a byte of a text lies, as "la línea L, columna C" (both from 1, columns in characters). */
QString placeInText(QByteArrayView text, qsizetype offset);

/** Why a map of that shape or tile size cannot be the editor's; nothing if it can. */
std::optional<MapProblem> shapeProblem(const TiledParts& parts);
/** Why a map of that many cells a side cannot be the editor's; nothing if it can. */
std::optional<MapProblem> sizeProblem(const TiledParts& parts);
/**
 * Whether the layers of a map of that shape and size are read: so that a map resized out
 * of the editor's sizes still has every other problem said, up to a size whose layers are
 * still small.
 */
bool layersReadable(const TiledParts& parts);

/** The name of a tileset kept in a file of its own: the file's name without extension. */
QString externalTilesetName(const QString& source);

/** The place in the map's list of its first tileset of that name, or -1. */
int tilesetNamed(const TiledParts& parts, const char* name);
/** The tile numbers of the map's tilesets. */
tiled::GidMapper gidMapperOf(const TiledParts& parts);

} // namespace quintaraz
