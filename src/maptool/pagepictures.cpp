#include "maptool/pagepictures.h"

#include "art/tileart.h"
#include "maptool/outputfiles.h"
#include "render/balancepicture.h"
#include "render/mappicture.h"

namespace quintaraz {

PagePictures drawPagePictures(const GameMap& map, const BalanceFigures& figures, const TileArt& art)
{
    const MapPicture pictures(art);
    const QImage drawn = pictures.render(map, cellSize);
    if (drawn.isNull())
        return {};
    const auto encoded = [](const QImage& image) {
        return std::async(std::launch::async, [image] { return encodePng(image); }).share();
    };
    PagePictures result;
    // The map's PNG is encoded while the other two are drawn from the same picture.
    result.map = encoded(drawn);
    QImage balance = drawn.copy();
    drawBalance(balance, cellSize, map, figures, art);
    result.balance = encoded(balance);
    // Drawn anew at its own size, a few pixels a cell, which takes a fraction of a
    // millisecond: scaling the large picture down took 10 to 40 ms a map of 100 x 100.
    const QImage preview = pictures.thumbnail(map, previewSide);
    result.preview = encodePng(preview, PngCompression::Fast);
    result.size = drawn.size();
    result.previewSize = preview.size();
    return result;
}

} // namespace quintaraz
