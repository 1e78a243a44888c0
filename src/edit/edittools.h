#pragma once

#include "../document/mapdocument.h"

#include <QString>

namespace quintaraz {

/** A click on terrain picture i: that terrain, with the terrain tool. */
void selectTerrain(MapDocument& document, int terrain);
/** A click on the start picture: the start tool; the selected terrain stays. */
void selectStartTool(MapDocument& document);

/** The player that the chooser's text names ("1" to "8" give 0 to 7), or -1 for none. */
int playerForChooserText(const QString& text);

/**
 * A mouse press on cell (x, y) with the active tool; player is the chooser's player or
 * -1. Returns whether the view must be repainted: refused presses change nothing and
 * repaint nothing.
 */
bool pressCell(MapDocument& document, int x, int y, int player);

} // namespace quintaraz
