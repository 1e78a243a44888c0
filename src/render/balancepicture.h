#pragma once

#include <QImage>

namespace quintaraz {

class TileArt;
struct BalanceFigures;
struct GameMap;

/** The colour that marks disputed cells: white, in a grid over the terrain. */
inline constexpr QRgb disputedColour = 0xffffffff;

/** Each player's colour: the colour of the middle of the player's marker. */
QRgb playerColour(const TileArt& art, int player);

/**
 * Draws a map's balance over its picture drawn at cellSize pixels a cell: lines across
 * each cell of a player's territory in that player's colour, every fourth row of pixels; a
 * white grid, every sixth pixel, on disputed cells; and a frame in each player's colour
 * around the cell where its route to the nearest rival is narrowest, unless that is a start. Start
 * cells keep their markers clear. A palette picture stays one, with the new colours added to its
 * palette.
 */
void drawBalance(QImage& picture, int cellSize, const GameMap& map, const BalanceFigures& figures,
                 const TileArt& art);

} // namespace quintaraz
