#pragma once

#include "editor/mapdocument.h"

#include <QString>

#include <optional>

namespace quintaraz {

/** A click on terrain picture i: that terrain, with the terrain tool. */
void selectTerrain(MapDocument& document, int terrain);
/** A click on the start picture: the start tool; the selected terrain stays. */
void selectStartTool(MapDocument& document);

/** The player whose entry the chooser shows ("1" to "8" give 0 to 7); none for any other text. */
std::optional<int> playerForChooserText(const QString& text);

/**
 * A mouse press on cell (x, y) with the active tool, for the player chosen, if any. Returns
 * whether the view must be repainted: refused presses change nothing and repaint nothing.
 */
bool pressCell(MapDocument& document, int x, int y, std::optional<int> player);

} // namespace quintaraz
