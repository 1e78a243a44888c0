#pragma once

#include "editor/mapdocument.h"

#include <QByteArray>
#include <QFile>
#include <QPoint>
#include <QRandomGenerator>

#include <array>

namespace testmaps {

using quintaraz::MapDocument;

/** Writes a whole file; false when it could not. */
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/** A whole file, or nothing when it cannot be read. */
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/**
 * Starts a new map of those highest indices on an editor or a main window, as the new-map
 * window does: the size, then newmap.
 */
template <typename Window> void startNewMap(Window& window, int maxwidth, int maxheight)
{
    window.setMaxwidth(std::int16_t(maxwidth));
    window.setMaxheight(std::int16_t(maxheight));
    window.newmap();
}

/** A cell of that terrain holding that player's number, and the player's start if start. */
inline quintaraz::MapCell cellOf(int terrain, int player, bool start)
{
    quintaraz::MapCell cell;
    cell.terrain = std::int16_t(terrain);
    cell.playerIndex = std::int16_t(player);
    if (start)
        cell.markStart(player);
    return cell;
}

/** Marks (x, y) as the player's start, the way the reader does. */
inline void placeStart(MapDocument& document, int x, int y, int player)
{
    document.cells(x, y).markStart(player);
}

/** A 17 by 17 grass map with eight starts, players numbered in row-major order. */
inline MapDocument exampleMap()
{
    MapDocument document;
    document.maxwidth = document.maxheight = 16;
    document.clearForNewMap();
    const std::array<QPoint, 8> starts{
        {{2, 3}, {15, 3}, {8, 8}, {0, 12}, {4, 16}, {9, 16}, {12, 16}, {16, 16}}};
    for (int p = 0; p < 8; ++p)
        placeStart(document, starts[p].x(), starts[p].y(), p);
    document.syncStartPlaced();
    return document;
}

/** A grass map of the given highest indices with the eight starts on its first row. */
inline MapDocument mapOfSize(int maxwidth, int maxheight)
{
    MapDocument document;
    document.maxwidth = std::int16_t(maxwidth);
    document.maxheight = std::int16_t(maxheight);
    document.clearForNewMap();
    for (int p = 0; p < 8; ++p)
        placeStart(document, p, 0, p);
    document.syncStartPlaced();
    return document;
}

/** The bytes of exampleMap() as a map file. */
inline QByteArray exampleText()
{
    return "16,16," + QByteArray("0,").repeated(289) +
           "<fin>2 3,15 3,8 8,0 12,4 16,9 16,12 16,16 16,";
}

/** A map of random size and terrain (any 16-bit value) with each player's start on its own cell. */
inline MapDocument randomMap(QRandomGenerator& random)
{
    MapDocument document;
    document.maxwidth = std::int16_t(random.bounded(16, 100));
    document.maxheight = std::int16_t(random.bounded(16, 100));
    document.mapLoaded = true;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            document.cells(x, y).terrain = std::int16_t(random.bounded(-32768, 32768));
    int placed = 0;
    while (placed < 8) {
        const int x = random.bounded(document.maxwidth + 1);
        const int y = random.bounded(document.maxheight + 1);
        if (document.cells(x, y).hasStart())
            continue;
        placeStart(document, x, y, placed++);
    }
    document.syncStartPlaced();
    return document;
}

} // namespace testmaps
