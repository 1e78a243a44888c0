#pragma once

#include "map/gamemap.h"

#include <cstdint>
#include <vector>

namespace quintaraz {

/** A rectangle of cells, its corners included; a run of one row is one too. */
struct CellArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int cellCount() const { return (right - left + 1) * (bottom - top + 1); }

    friend bool operator==(const CellArea&, const CellArea&) = default;
};

/** A cell, and what sets it apart from its neighbours: cells of one key make one area. */
struct KeyedCell {
    GridPoint cell;
    std::int64_t key = 0;
};

/** An area of cells of one key. */
struct KeyedArea {
    CellArea area;
    std::int64_t key = 0;
};

/**
 * Cells given row by row, left to right, grouped top to bottom and left to right into as
 * few areas as rows of runs allow: a run of one row, of cells side by side with one key,
 * grows down while the next row has the same run.
 */
std::vector<KeyedArea> cellAreas(const std::vector<KeyedCell>& cells);

} // namespace quintaraz
