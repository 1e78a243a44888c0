#pragma once

#include "editor/mapdocument.h"
#include "map/gamemap.h"

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

/** A cell of the grid. */
inline quintaraz::GridPoint cell(int x, int y)
{
    return {std::int16_t(x), std::int16_t(y)};
}

/**
 * Starts a new map of those highest indices on an editor or a main window, as the new-map
 * window does when it says the size chosen.
 */
template <typename Window> void startNewMap(Window& window, int maxwidth, int maxheight)
{
    if constexpr (requires { window.editor(); })
        window.editor().newMap(maxwidth, maxheight);
    else
        window.newMap(maxwidth, maxheight);
}

/** A map document holding that map, loaded, as the editor holds it once opened. */
inline MapDocument opened(quintaraz::GameMap map)
{
    MapDocument document;
    document.map = std::move(map);
    document.mapLoaded = true;
    return document;
}

/** A 17 by 17 grass map with eight starts, players numbered in row-major order. */
inline MapDocument exampleMap()
{
    quintaraz::GameMap map(16, 16);
    const std::array<QPoint, 8> starts{
        {{2, 3}, {15, 3}, {8, 8}, {0, 12}, {4, 16}, {9, 16}, {12, 16}, {16, 16}}};
    for (int p = 0; p < 8; ++p)
        map.starts[p] = cell(starts[p].x(), starts[p].y());
    return opened(std::move(map));
}

/** A grass map of the given highest indices with the eight starts on its first row. */
inline MapDocument mapOfSize(int maxwidth, int maxheight)
{
    quintaraz::GameMap map(maxwidth, maxheight);
    for (int p = 0; p < 8; ++p)
        map.starts[p] = cell(p, 0);
    return opened(std::move(map));
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
    const int maxwidth = random.bounded(16, 100);
    const int maxheight = random.bounded(16, 100);
    quintaraz::GameMap map(maxwidth, maxheight);
    for (std::int16_t& terrain : map.terrain)
        terrain = std::int16_t(random.bounded(-32768, 32768));
    int placed = 0;
    while (placed < 8) {
        const quintaraz::GridPoint start =
            cell(random.bounded(maxwidth + 1), random.bounded(maxheight + 1));
        if (map.startAt(start) < 0)
            map.starts[placed++] = start;
    }
    return opened(std::move(map));
}

} // namespace testmaps
