#pragma once

#include "map/gamemap.h"

#include <QImage>

#include <vector>

namespace quintaraz {

/** The colour that marks changed or conflicting cells: yellow, which no tile has. */
inline constexpr QRgb changeOutlineColour = 0xffffff00;

/**
 * Draws a frame of changeOutlineColour inside each of those cells of a picture drawn at
 * cellSize pixels a cell; every other pixel stays as it was. The frame is an eighth of a
 * cell wide, at least one pixel, so that it shows in a picture of a whole map.
 */
void outlineCells(QImage& picture, int cellSize, const std::vector<GridPoint>& cells);

} // namespace quintaraz
