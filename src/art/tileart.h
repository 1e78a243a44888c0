#pragma once

#include "map/gamemap.h"

#include <QImage>

#include <array>

namespace quintaraz {

/** A cell is drawn as a square of this many pixels, the size of every tile picture. */
constexpr int cellSize = 25;

/** The built-in pictures: terrain tiles, player markers, the start tool and the icon. */
class TileArt {
public:
    TileArt();

    /** Terrain tile i, one cell in size; a number that names no terrain gives the unknown tile. */
    const QImage& terrain(int i) const;
    /** Drawn for a terrain number that names no picture, so that it stands out. */
    const QImage& unknownTerrain() const { return unknown_; }
    /** Player p's strip, two cells wide: the marker on white, then its mask in black on white. */
    const QImage& player(int p) const { return players_.at(p); }
    const QImage& startPicture() const { return start_; }
    /** The 50 by 50 editor icon. */
    const QImage& icon() const { return icon_; }

    /**
     * The pictures of a map's two tilesets in Tiled, as PNG files: the terrain tiles side
     * by side in the order of their numbers (150 by 25), and each player's marker side by
     * side (200 by 25), transparent wherever the view shows the terrain through it.
     */
    static QByteArray terrainTilesetPng();
    static QByteArray playerTilesetPng();

private:
    std::array<QImage, terrainCount> terrains_;
    std::array<QImage, playerCount> players_;
    QImage unknown_;
    QImage start_;
    QImage icon_;
};

} // namespace quintaraz
