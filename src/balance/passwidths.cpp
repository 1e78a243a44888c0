#include "balance/passwidths.h"

#include <algorithm>
#include <bit>

namespace quintaraz {

namespace {

/**
 * Sets of cells joined as they are added, each knowing which players start in it. Cells of
 * the bordered grid number at most 102 by 102: 16 bits hold them, and halve what is read.
 */
class JoinedCells {
public:
    explicit JoinedCells(int size)
        : parent_(std::size_t(size), notAdded)
        , rank_(std::size_t(size), 0)
        , players_(std::size_t(size), 0)
    {
    }

    bool added(int cell) const { return parent_[std::size_t(cell)] != notAdded; }
    void add(int cell, std::uint8_t players)
    {
        parent_[std::size_t(cell)] = std::int16_t(cell);
        players_[std::size_t(cell)] = players;
    }
    int root(int cell)
    {
        while (parent_[std::size_t(cell)] != cell) {
            std::int16_t& up = parent_[std::size_t(cell)];
            up = parent_[std::size_t(up)]; // halves the path for later look-ups
            cell = up;
        }
        return cell;
    }
    std::uint8_t players(int root) const { return players_[std::size_t(root)]; }
    /** Joins two sets by their roots, the shallower under the deeper; gives the new root. */
    int join(int a, int b)
    {
        if (rank_[std::size_t(a)] < rank_[std::size_t(b)])
            std::swap(a, b);
        rank_[std::size_t(a)] += rank_[std::size_t(a)] == rank_[std::size_t(b)];
        parent_[std::size_t(b)] = std::int16_t(a);
        players_[std::size_t(a)] |= players_[std::size_t(b)];
        return a;
    }

private:
    static constexpr std::int16_t notAdded = -1;
    std::vector<std::int16_t> parent_;
    std::vector<std::uint8_t> rank_;
    std::vector<std::uint8_t> players_;
};

/**
 * Along a line of n cells, step apart in memory, each holding the side of the square that
 * begins there: for each cell, the largest side of those that begin at or before it and
 * reach it. The candidates are kept largest first; a later one at least as large outlasts
 * those before it.
 */
void widestReaching(const std::uint8_t* sides, int step, std::uint8_t* widest, int n)
{
    std::array<int, GameMap::gridSize> candidates;
    int first = 0;
    int end = 0;
    for (int k = 0; k < n; ++k) {
        const int side = sides[k * step];
        if (side > 0) {
            while (end > first && sides[candidates[end - 1] * step] <= side)
                --end;
            candidates[end++] = k;
        }
        while (end > first && candidates[first] + sides[candidates[first] * step] <= k)
            ++first;
        widest[k * step] = end > first ? sides[candidates[first] * step] : 0;
    }
}

} // namespace

PassWidths::PassWidths(const WalkingGrid& grid)
    : grid_(grid)
    , widths_(std::size_t(grid.size()), 0)
{
    const int stride = grid.stride();
    // The side of the largest clear square whose top-left corner each cell is, from the
    // bottom right; the border is never clear.
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
    // A cell's width is the largest corner value of a square that holds it. Squares that
    // begin above it and reach down to its row first, then those of them that begin to its
    // left and reach across to it: the largest such value above serves every cell it
    // reaches, so each pass is a line swept once.
    std::vector<std::uint8_t> reachingDown(std::size_t(grid.size()), 0);
    for (int x = 0; x < grid.columns(); ++x) {
        const int top = grid.index(x, 0);
        widestReaching(corner.data() + top, stride, reachingDown.data() + top, grid.rows());
    }
    for (int y = 0; y < grid.rows(); ++y) {
        const int left = grid.index(0, y);
        widestReaching(reachingDown.data() + left, 1, widths_.data() + left, grid.columns());
    }
    widest_ = *std::max_element(widths_.begin(), widths_.end());
}

std::vector<std::int16_t> PassWidths::cellsByWidth() const
{
    // Counted by width, then placed: widest first, row by row within a width.
    std::array<int, GameMap::gridSize + 2> first{};
    for (int y = 0; y < grid_.rows(); ++y)
        for (int x = 0, cell = grid_.index(0, y); x < grid_.columns(); ++x, ++cell)
            ++first[widths_[std::size_t(cell)]];
    int passable = 0;
    for (int width = widest_; width > 0; --width) {
        const int cells = first[std::size_t(width)];
        first[std::size_t(width)] = passable;
        passable += cells;
    }
    std::vector<std::int16_t> byWidth(std::size_t(passable), 0);
    for (int y = 0; y < grid_.rows(); ++y)
        for (int x = 0, cell = grid_.index(0, y); x < grid_.columns(); ++x, ++cell)
            if (const int width = widths_[std::size_t(cell)])
                byWidth[std::size_t(first[std::size_t(width)]++)] = std::int16_t(cell);
    return byWidth;
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
    const std::vector<std::int16_t> byWidth = cellsByWidth();
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
        if (!open)
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
