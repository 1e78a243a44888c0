#include "balance/passwidths.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace quintaraz {

namespace {

/** Sets of cells joined as they are added, each knowing which players start in it. */
class JoinedCells {
public:
    explicit JoinedCells(int size)
        : parent_(std::size_t(size), -1)
        , players_(std::size_t(size), 0)
    {
    }

    bool added(int cell) const { return parent_[std::size_t(cell)] >= 0; }
    void add(int cell, std::uint8_t players)
    {
        parent_[std::size_t(cell)] = cell;
        players_[std::size_t(cell)] = players;
    }
    int root(int cell)
    {
        while (parent_[std::size_t(cell)] != cell) {
            int& up = parent_[std::size_t(cell)];
            up = parent_[std::size_t(up)]; // halves the path for later look-ups
            cell = up;
        }
        return cell;
    }
    std::uint8_t players(int root) const { return players_[std::size_t(root)]; }
    /** Joins two sets by their roots; gives the root of the whole. */
    int join(int a, int b)
    {
        parent_[std::size_t(b)] = a;
        players_[std::size_t(a)] |= players_[std::size_t(b)];
        return a;
    }

private:
    std::vector<int> parent_;
    std::vector<std::uint8_t> players_;
};

} // namespace

PassWidths::PassWidths(const WalkingGrid& grid)
    : grid_(grid)
    , widths_(std::size_t(grid.size()), 0)
{
    const int stride = grid.stride();
    // The largest clear square whose top-left corner each cell is, from the bottom right;
    // the border is never clear.
    std::vector<std::uint8_t> corner(std::size_t(grid.size()), 0);
    for (int y = grid.rows() - 1; y >= 0; --y) {
        for (int x = grid.columns() - 1; x >= 0; --x) {
            const int at = grid.index(x, y);
            if (grid.kind(at) == WalkingGrid::Passable)
                corner[std::size_t(at)] = std::uint8_t(
                    1 + std::min({corner[std::size_t(at + 1)], corner[std::size_t(at + stride)],
                                  corner[std::size_t(at + stride + 1)]}));
        }
    }
    // A square is maximal when no neighbour before it begins a larger one that holds it; every
    // clear square lies in a maximal one. Painted largest first, each cell keeps the first
    // width it gets: the largest square that holds it.
    std::vector<std::vector<int>> maximal(GameMap::gridSize + 1);
    for (int y = 0; y < grid.rows(); ++y) {
        for (int x = 0; x < grid.columns(); ++x) {
            const int at = grid.index(x, y);
            const int side = corner[std::size_t(at)];
            if (side > 0 && corner[std::size_t(at - 1)] <= side &&
                corner[std::size_t(at - stride)] <= side &&
                corner[std::size_t(at - stride - 1)] <= side)
                maximal[std::size_t(side)].push_back(at);
        }
    }
    // Per row, the next cell not painted yet at or after each cell; the border ends each row.
    std::vector<int> unpainted(std::size_t(grid.size()));
    std::iota(unpainted.begin(), unpainted.end(), 0);
    const auto nextUnpainted = [&](int cell) {
        while (unpainted[std::size_t(cell)] != cell) {
            int& next = unpainted[std::size_t(cell)];
            next = unpainted[std::size_t(next)];
            cell = next;
        }
        return cell;
    };
    for (int side = GameMap::gridSize; side > 0; --side) {
        if (!maximal[std::size_t(side)].empty() && widest_ == 0)
            widest_ = side;
        for (const int corner : maximal[std::size_t(side)]) {
            for (int row = 0; row < side; ++row) {
                const int left = corner + row * stride;
                for (int cell = nextUnpainted(left); cell < left + side;
                     cell = nextUnpainted(cell + 1)) {
                    widths_[std::size_t(cell)] = std::uint8_t(side);
                    unpainted[std::size_t(cell)] = cell + 1;
                }
            }
        }
    }
}

std::array<std::optional<PassWidths::Route>, playerCount>
PassWidths::widestRoutes(const std::array<int, playerCount>& starts,
                         const std::array<std::uint8_t, playerCount>& wanted) const
{
    std::array<std::optional<Route>, playerCount> routes;
    std::vector<std::uint8_t> startingHere(std::size_t(grid_.size()), 0);
    std::uint8_t open = 0; // the players whose route is still to be found
    for (int g = 0; g < playerCount; ++g) {
        if (starts[g] < 0)
            continue;
        startingHere[std::size_t(starts[g])] |= std::uint8_t(1u << g);
        if (wanted[g])
            open |= std::uint8_t(1u << g);
    }
    if (!open)
        return routes;
    // The cells by width, widest first.
    std::vector<int> count(std::size_t(widest_) + 2, 0);
    for (int cell = 0; cell < grid_.size(); ++cell)
        ++count[widths_[std::size_t(cell)]];
    std::vector<int> first(count.size(), 0);
    for (int width = widest_ - 1; width >= 0; --width)
        first[std::size_t(width)] = first[std::size_t(width) + 1] + count[std::size_t(width) + 1];
    std::vector<int> byWidth(std::size_t(grid_.size()));
    for (int cell = 0; cell < grid_.size(); ++cell)
        byWidth[std::size_t(first[widths_[std::size_t(cell)]]++)] = cell;

    // Cells added widest first: a route of width w exists once both ends are joined by
    // cells of width w or more, and the cell that joins them is where it is narrowest.
    JoinedCells joined(grid_.size());
    const auto settle = [&](std::uint8_t these, std::uint8_t those, int cell) {
        for (std::uint8_t pending = these & open; pending; pending &= pending - 1) {
            const int g = std::countr_zero(pending);
            if (wanted[g] & those) {
                routes[g] = Route{widths_[std::size_t(cell)], cell};
                open &= std::uint8_t(~(1u << g));
            }
        }
    };
    const int steps[4] = {-grid_.stride(), -1, 1, grid_.stride()};
    for (const int cell : byWidth) {
        if (!open || widths_[std::size_t(cell)] == 0)
            break;
        const std::uint8_t here = startingHere[std::size_t(cell)];
        joined.add(cell, here);
        settle(here, here, cell);
        int root = cell;
        for (const int step : steps) {
            const int neighbour = cell + step;
            if (!joined.added(neighbour))
                continue;
            const int other = joined.root(neighbour);
            if (other == root)
                continue;
            const std::uint8_t mine = joined.players(root);
            const std::uint8_t theirs = joined.players(other);
            if (mine && theirs) {
                settle(mine, theirs, cell);
                settle(theirs, mine, cell);
            }
            root = joined.join(root, other);
        }
    }
    return routes;
}

} // namespace quintaraz
