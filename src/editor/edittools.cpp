#include "editor/edittools.h"

#include "map/mapproblems.h"

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

bool placeStart(GameMap& map, GridPoint cell, int player)
{
    // The rules judge the start where it would be.
    const std::optional<GridPoint> was = map.starts[std::size_t(player)];
    map.starts[std::size_t(player)] = cell;
    if (startProblem(map, player)) {
        map.starts[std::size_t(player)] = was;
        return false;
    }
    // Taking over another player's start leaves that player without one, so it must be
    // placed again before the map can be saved.
    for (int other = 0; other < playerCount; ++other)
        if (other != player && map.starts[std::size_t(other)] == cell)
            map.starts[std::size_t(other)].reset();
    return true;
}

} // namespace

bool pressCell(MapDocument& document, int x, int y, std::optional<int> player)
{
    // Cells outside the map are never saved, so they are never edited either.
    GameMap& map = document.map;
    if (!document.mapLoaded || x < 0 || y < 0 || x > map.maxwidth || y > map.maxheight)
        return false;
    const GridPoint cell{std::int16_t(x), std::int16_t(y)};
    if (document.toolMode == ToolMode::Start)
        return player && isPlayer(*player) && placeStart(map, cell, *player);
    if (map.startAt(cell) >= 0)
        return false; // a start cell is never painted over
    map.setTerrainAt(x, y, document.selectedTerrain);
    return true;
}

} // namespace quintaraz
