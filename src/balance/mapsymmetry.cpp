#include "balance/mapsymmetry.h"

#include <algorithm>

namespace quintaraz {

namespace {

/** How many of count cells differ from the cells step apart from image on. */
inline int differing(const std::int16_t* cells, const std::int16_t* image, int count, int step)
{
    int different = 0;
    for (int k = 0; k < count; ++k)
        different += cells[k] != image[k * step];
    return different;
}

} // namespace

bool symmetryFits(Symmetry symmetry, const GameMap& map)
{
    switch (symmetry) {
    case Symmetry::MirrorVertical:
    case Symmetry::MirrorHorizontal:
    case Symmetry::HalfTurn:
        return true;
    case Symmetry::QuarterTurn:
    case Symmetry::Diagonal:
    case Symmetry::AntiDiagonal:
        return map.maxwidth == map.maxheight;
    }
    return false;
}

GridPoint transformed(Symmetry symmetry, const GameMap& map, GridPoint cell)
{
    const int w = map.maxwidth;
    const int h = map.maxheight;
    const int x = cell.x;
    const int y = cell.y;
    const auto point = [](int column, int row) {
        return GridPoint{std::int16_t(column), std::int16_t(row)};
    };
    switch (symmetry) {
    case Symmetry::MirrorVertical:
        return point(w - x, y);
    case Symmetry::MirrorHorizontal:
        return point(x, h - y);
    case Symmetry::HalfTurn:
        return point(w - x, h - y);
    case Symmetry::QuarterTurn:
        return point(h - y, x);
    case Symmetry::Diagonal:
        return point(y, x);
    case Symmetry::AntiDiagonal:
        return point(w - y, h - x);
    }
    return cell;
}

std::vector<SymmetryCheck> checkSymmetries(const GameMap& map)
{
    const std::vector<GridPoint> starts = map.startCells();
    const auto sorted = [](std::vector<GridPoint> cells) {
        std::sort(cells.begin(), cells.end(),
                  [](GridPoint a, GridPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
        cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
        return cells;
    };
    const std::vector<GridPoint> startSet = sorted(starts);
    std::vector<SymmetryCheck> checks;
    for (const Symmetry symmetry : allSymmetries) {
        if (!symmetryFits(symmetry, map))
            continue;
        SymmetryCheck check{symmetry};
        // The image of a cell is an affine function of its index: one add a cell, no search.
        const GridPoint origin = transformed(symmetry, map, {0, 0});
        const GridPoint right = transformed(symmetry, map, {1, 0});
        const GridPoint down = transformed(symmetry, map, {0, 1});
        const int base = map.cellIndex(origin.x, origin.y);
        const int stepX = map.cellIndex(right.x, right.y) - base;
        const int stepY = map.cellIndex(down.x, down.y) - base;
        const std::int16_t* terrain = map.terrain.data();
        for (int y = 0; y <= map.maxheight; ++y) {
            const std::int16_t* row = terrain + map.cellIndex(0, y);
            const std::int16_t* image = terrain + base + y * stepY;
            // Rows that the image reads forwards or backwards are compared many cells at once.
            if (stepX == 1)
                check.brokenTerrain += differing(row, image, map.columns(), 1);
            else if (stepX == -1)
                check.brokenTerrain += differing(row, image, map.columns(), -1);
            else
                check.brokenTerrain += differing(row, image, map.columns(), stepX);
        }
        std::vector<GridPoint> images;
        for (const GridPoint start : starts)
            images.push_back(transformed(symmetry, map, start));
        check.startsMatch = sorted(images) == startSet;
        checks.push_back(check);
    }
    return checks;
}

} // namespace quintaraz
