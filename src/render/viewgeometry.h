#pragma once

namespace quintaraz {

/** A cell is drawn as a square of this many pixels, the size of every tile picture. */
constexpr int cellSize = 25;
/** The map view shows this many cells each way. */
constexpr int viewCells = 16;
/** The map view's width and height in pixels. */
constexpr int viewSize = cellSize * viewCells;

} // namespace quintaraz
