#pragma once

#include <QByteArray>
#include <QSize>

#include <future>

namespace quintaraz {

class TileArt;
struct BalanceFigures;
struct GameMap;

/**
 * A map's pictures for a page, as PNG files: the map as render draws it, its balance as
 * balance --picture draws it, and a small preview; the sizes a page gives them.
 */
struct PagePictures {
    // Still being encoded, each on a thread of its own, while the caller goes on.
    std::shared_future<QByteArray> map;
    std::shared_future<QByteArray> balance;
    QByteArray preview;
    QSize size; // of the map and the balance picture alike
    QSize previewSize;

    bool drawn() const { return map.valid() && balance.valid() && !preview.isEmpty(); }
};

/** The longer side of a preview, in pixels. */
inline constexpr int previewSide = 200;

/**
 * Draws the map once at the cell size of render and the balance over a copy of that picture,
 * and the preview as thumbnail draws it. The large two are encoded at once, each on a thread
 * of its own, and are still being encoded when this returns: encoding is most of the work, and
 * the next map can be read, measured and drawn meanwhile. Nothing when there is no memory.
 */
PagePictures drawPagePictures(const GameMap& map, const BalanceFigures& figures,
                              const TileArt& art);

} // namespace quintaraz
