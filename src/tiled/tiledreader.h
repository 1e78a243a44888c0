#pragma once

#include "map/gamemap.h"
#include "map/mapproblems.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace quintaraz {

/** What reading a Tiled map came to. */
struct TiledReading {
    /** What keeps the map from being a map of the game's: every one of them, in the file's order.
     */
    std::vector<MapProblem> problems;
    /** What was read but cannot be kept, and what a game may not expect; beside problems too. */
    std::vector<MapProblem> warnings;
    /** When read: the size, every cell's terrain and the eight starts. */
    GameMap map;

    bool read() const { return problems.empty(); }
};

/**
 * Reads a Tiled map, TMX or JSON by its content; at most tiled::largestFile bytes. A map that
 * breaks a rule of the map file (a start outside the map, two on one cell, a hidden or moved
 * layer of ours, painting on another layer) is refused with every such problem; a start on
 * water or rock, and other layers left out, are warnings.
 */
TiledReading readTiledFile(const QString& path);
TiledReading readTiledText(QByteArrayView text);

} // namespace quintaraz
