#pragma once

// A second, deliberately plain reading of how fair a map is, written straight from the
// definitions: one search per question, no shared grids, every square tried cell by cell.
// Slow; for small maps, to check the library's one-pass figures.

#include "balance/balancefigures.h"
#include "map/gamemap.h"

#include <QList>
#include <QPoint>
#include <QQueue>

#include <algorithm>
#include <optional>

namespace referencebalance {

using quintaraz::GameMap;
using quintaraz::playerCount;

constexpr int far = 1 << 30;

// The library's plain struct of a player's figures; the place of the pass is left out.
using Player = quintaraz::PlayerBalance;

struct Figures {
    QList<Player> players;
    int disputed = 0;
    QList<int> owners; // row by row: a player, -1 nobody's, -2 disputed
};

class Model {
public:
    Model(const GameMap& map, const QList<int>& blocking, int radius)
        : map_(map)
        , blocking_(blocking)
        , radius_(radius)
    {
        // Blocking cells above and left of each corner, to test a square in one look.
        const int columns = map.columns();
        blocked_ = QList<int>((columns + 1) * (map.rows() + 1), 0);
        for (int y = 0; y < map.rows(); ++y)
            for (int x = 0; x < columns; ++x)
                blocked_[(y + 1) * (columns + 1) + x + 1] =
                    !passable(x, y) + blocked_[y * (columns + 1) + x + 1] +
                    blocked_[(y + 1) * (columns + 1) + x] - blocked_[y * (columns + 1) + x];
    }

    bool inside(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < map_.columns() && y < map_.rows();
    }
    int terrain(int x, int y) const { return map_.terrainAt(x, y); }
    bool passable(int x, int y) const
    {
        return inside(x, y) && terrain(x, y) >= 0 && terrain(x, y) <= 5 &&
               !blocking_.contains(terrain(x, y));
    }
    bool resource(int x, int y) const { return terrain(x, y) == 3 || terrain(x, y) == 4; }
    std::optional<QPoint> start(int g) const
    {
        const auto cell = map_.starts[g];
        if (!cell || !passable(cell->x, cell->y))
            return std::nullopt;
        return QPoint(cell->x, cell->y);
    }

    /** Steps from a start to every cell, through the cells allowed; far where it does not get. */
    QList<int> distances(QPoint from, const QList<bool>& allowed) const
    {
        const int columns = map_.columns();
        QList<int> steps(map_.cellCount(), far);
        QQueue<QPoint> queue;
        steps[from.y() * columns + from.x()] = 0;
        queue.enqueue(from);
        while (!queue.isEmpty()) {
            const QPoint cell = queue.dequeue();
            for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint next = cell + step;
                if (!inside(next.x(), next.y()) || !allowed[next.y() * columns + next.x()] ||
                    steps[next.y() * columns + next.x()] != far)
                    continue;
                steps[next.y() * columns + next.x()] = steps[cell.y() * columns + cell.x()] + 1;
                queue.enqueue(next);
            }
        }
        // A resource that blocks is one step beyond its nearest reached neighbour.
        QList<int> all = steps;
        for (int y = 0; y < map_.rows(); ++y)
            for (int x = 0; x < columns; ++x) {
                if (passable(x, y) || !resource(x, y) || !blocking_.contains(terrain(x, y)))
                    continue;
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = QPoint(x, y) + step;
                    if (inside(next.x(), next.y()) && steps[next.y() * columns + next.x()] != far)
                        all[y * columns + x] = std::min(all[y * columns + x],
                                                        steps[next.y() * columns + next.x()] + 1);
                }
            }
        return all;
    }

    /** The side of the largest square of passable cells that holds the cell; 0 if it blocks. */
    int width(int x, int y) const
    {
        for (int side = std::min(map_.columns(), map_.rows()); side > 0; --side)
            for (int top = y - side + 1; top <= y; ++top)
                for (int left = x - side + 1; left <= x; ++left)
                    if (clear(left, top, side))
                        return side;
        return 0;
    }

    Figures figures() const
    {
        const int cells = map_.cellCount();
        const int columns = map_.columns();
        QList<bool> open(cells);
        QList<int> widths(cells);
        for (int k = 0; k < cells; ++k) {
            open[k] = passable(k % columns, k / columns);
            widths[k] = width(k % columns, k / columns);
        }
        QList<QList<int>> steps;
        Figures result;
        for (int g = 0; g < playerCount; ++g) {
            steps << (start(g) ? distances(*start(g), open) : QList<int>(cells, far));
            Player player;
            player.walkable = start(g).has_value();
            for (int k = 0; k < cells; ++k) {
                const int d = steps[g][k];
                if (d == far)
                    continue;
                if (open[k]) {
                    ++player.region;
                    player.space += d <= radius_;
                }
                for (int m = 0; m < 3; ++m) {
                    const int limit = radius_ << m;
                    if (map_.terrain[k] == 3)
                        player.trees[m] += d <= limit;
                    if (map_.terrain[k] == 4)
                        player.soilPatches[m] += d <= limit;
                }
            }
            result.players << player;
        }
        for (int k = 0; k < cells; ++k) {
            int best = far;
            QList<int> firsts;
            for (int g = 0; g < playerCount; ++g) {
                if (steps[g][k] < best) {
                    best = steps[g][k];
                    firsts.clear();
                }
                if (steps[g][k] == best && best != far)
                    firsts << g;
            }
            int owner = -1;
            if (firsts.size() > 1 && open[k]) {
                owner = -2;
                ++result.disputed;
            } else if (firsts.size() == 1) {
                owner = firsts.first();
                Player& player = result.players[owner];
                player.territoryCells += open[k];
                player.territoryTrees += map_.terrain[k] == 3;
                player.territorySoilPatches += map_.terrain[k] == 4;
            }
            result.owners << owner;
        }
        for (int g = 0; g < playerCount; ++g) {
            Player& player = result.players[g];
            if (!start(g))
                continue;
            QList<int> nearest;
            for (int h = 0; h < playerCount; ++h) {
                if (h == g || !start(h))
                    continue;
                const int d = steps[g][start(h)->y() * columns + start(h)->x()];
                if (d == far)
                    continue;
                ++player.rivalsReached;
                if (!player.nearestRival || d < *player.nearestRival) {
                    player.nearestRival = d;
                    nearest.clear();
                }
                if (d == *player.nearestRival)
                    nearest << h;
                player.farthestRival = std::max(player.farthestRival.value_or(0), d);
            }
            // The widest route: the widest cells that still lead to a nearest rival.
            for (int side = std::min(map_.columns(), map_.rows()); side > 0 && !nearest.isEmpty();
                 --side) {
                QList<bool> wide(cells);
                for (int k = 0; k < cells; ++k)
                    wide[k] = widths[k] >= side;
                if (!wide[start(g)->y() * columns + start(g)->x()])
                    continue;
                const QList<int> reach = distances(*start(g), wide);
                if (std::any_of(nearest.begin(), nearest.end(), [&](int h) {
                        return reach[start(h)->y() * columns + start(h)->x()] != far;
                    })) {
                    player.narrowestPass = side;
                    break;
                }
            }
        }
        return result;
    }

private:
    bool clear(int left, int top, int side) const
    {
        if (left < 0 || top < 0 || left + side > map_.columns() || top + side > map_.rows())
            return false;
        const int stride = map_.columns() + 1;
        const int right = left + side;
        const int bottom = top + side;
        return blocked_[bottom * stride + right] - blocked_[top * stride + right] -
                   blocked_[bottom * stride + left] + blocked_[top * stride + left] ==
               0;
    }

    const GameMap& map_;
    QList<int> blocking_;
    int radius_;
    QList<int> blocked_;
};

} // namespace referencebalance
