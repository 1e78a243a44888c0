#pragma once

#include "art/tileart.h"
#include "editor/mapdocument.h"

#include <QPoint>
#include <QString>

namespace quintaraz {

/** The map view shows this many cells each way. */
constexpr int viewCells = 16;
/** The map view's width and height in pixels. */
constexpr int viewSize = cellSize * viewCells;

/** Cells the view moves for one arrow key. */
constexpr int scrollStep = 2;

/** Moves the scroll origin for a key (Qt::Key_Left and so on; other keys move nothing) and clamps
 * it. */
void scrollByKey(MapDocument& document, int key);

/** Keeps the origin within 0..max(0, maxwidth - 15) and the same for rows; true if it moved. */
bool clampScroll(MapDocument& document);

/** "cx (X) cy (Y)" for the scroll origin. */
QString scrollCaption(const MapDocument& document);
/** "Mouse: (X)(Y)" for the cell under the pointer. */
QString pointerCaption(QPoint cell);

} // namespace quintaraz
