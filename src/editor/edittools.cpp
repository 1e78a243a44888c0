#include "editor/edittools.h"

#include "map/terrain.h"

namespace quintaraz {

void selectTerrain(MapDocument& document, int terrain)
{
    document.selectedTerrain = static_cast<std::int16_t>(terrain);
    document.toolMode = ToolMode::Terrain;
}

void selectStartTool(MapDocument& document)
{
    document.toolMode = ToolMode::Start;
}

std::optional<int> playerForChooserText(const QString& text)
{
    // The entries are "1" to "8"; nothing else names a player.
    if (text.size() != 1 || text[0] < u'1' || text[0] > u'8')
        return std::nullopt;
    return text[0].unicode() - u'1';
}

namespace {

bool placeStart(MapDocument& document, int x, int y, int player)
{
    MapCell& cell = document.cells(x, y);
    if (blocksStart(cell.terrain))
        return false;
    // Taking over another player's start leaves that player without one, so it
    // must be placed again before the map can be saved.
    if (cell.hasStart() && cell.playerIndex != player && isPlayer(cell.playerIndex))
        document.startPlaced[cell.playerIndex] = false;
    cell.playerIndex = static_cast<std::int16_t>(player);
    for (int column = 0; column <= document.maxwidth; ++column)
        for (int row = 0; row <= document.maxheight; ++row)
            if (document.cells(column, row).playerIndex == player)
                document.cells(column, row).clearStart();
    cell.markStart(player);
    document.startPlaced[player] = true;
    return true;
}

} // namespace

bool pressCell(MapDocument& document, int x, int y, std::optional<int> player)
{
    // Cells outside the map are never saved, so they are never edited either.
    if (!document.mapLoaded || !document.inMapArea(x, y))
        return false;
    if (document.toolMode == ToolMode::Start)
        return player && isPlayer(*player) && placeStart(document, x, y, *player);
    MapCell& cell = document.cells(x, y);
    if (cell.hasStart())
        return false; // a start cell is never painted over
    cell.terrain = document.selectedTerrain;
    return true;
}

} // namespace quintaraz
