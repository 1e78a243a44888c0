#pragma once

class QApplication;

namespace quintaraz {

class TileArt;

/**
 * What the editor sets up before its first window: its names, the toolkit's own texts in
 * Spanish, and the program's icon.
 */
void setUpApplication(QApplication& application, const TileArt& art);

} // namespace quintaraz
