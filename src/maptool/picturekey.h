#pragma once

#include "maptool/outputfiles.h"

#include <QList>
#include <QString>

namespace quintaraz {

class HtmlWriter;
class TileArt;
struct BalanceFigures;
struct GameMap;

/**
 * What a map's pictures show, said beside them: which marker and colour is which player and
 * where each starts, what each terrain looks like, and on the balance picture what the lines,
 * the white grid and the frames are. Each entry shows a small picture cut the way the map's
 * own pictures are drawn; those pictures are files of the site, under clave/.
 */
namespace picturekey {

/** The key's small pictures, as files of the site (paths from its root). */
QList<PlannedFile> pictures(const TileArt& art);

/** The players' markers and colours, and the terrains the map holds. */
void writeMapKey(HtmlWriter& page, const GameMap& map);

/** Each player's territory and narrowest pass, and the disputed cells. */
void writeBalanceKey(HtmlWriter& page, const GameMap& map, const BalanceFigures& figures);

/** Player g's colour in words ("rojo"), as a person names the middle of its marker. */
QString colourWord(int player);

/** The site's path of player g's marker, alone on a clear ground. */
QString markerPath(int player);

} // namespace picturekey

} // namespace quintaraz
