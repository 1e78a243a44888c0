#pragma once

#include <QByteArray>
#include <QSize>

namespace quintaraz {

class TileArt;
struct BalanceFigures;
struct GameMap;

/**
 * A map's pictures for a page, as PNG files: the map as render draws it, its balance as
 * balance --picture draws it, and a small preview of the first; the sizes a page gives them.
 */
struct PagePictures {
    QByteArray map;
    QByteArray balance;
    QByteArray preview;
    QSize size; // of the map and the balance picture alike
    QSize previewSize;

    bool drawn() const { return !map.isEmpty() && !balance.isEmpty() && !preview.isEmpty(); }
};

/** The longer side of a preview, in pixels. */
inline constexpr int previewSide = 200;

/**
 * Draws the map once, at the cell size of render, and makes the balance picture and the
 * preview of that picture. The three are encoded at once, each on a thread of its own:
 * encoding is most of the work. Nothing is drawn when there is no memory for it.
 */
PagePictures drawPagePictures(const GameMap& map, const BalanceFigures& figures,
                              const TileArt& art);

} // namespace quintaraz
