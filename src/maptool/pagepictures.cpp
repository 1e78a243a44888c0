#include "maptool/pagepictures.h"

#include "art/tileart.h"
#include "maptool/outputfiles.h"
#include "render/balancepicture.h"
#include "render/mappicture.h"

#include <future>

namespace quintaraz {

PagePictures drawPagePictures(const GameMap& map, const BalanceFigures& figures, const TileArt& art)
{
    const MapPicture pictures(art);
    const QImage drawn = pictures.render(map, cellSize);
    if (drawn.isNull())
        return {};
    const auto encoded = [](const QImage& image) {
        return std::async(std::launch::async, [image] { return encodePng(image); });
    };
    // The map's PNG is encoded while the other two are drawn from the same picture.
    std::future<QByteArray> mapPng = encoded(drawn);
    QImage balance = drawn.copy();
    drawBalance(balance, cellSize, map, figures, art);
    std::future<QByteArray> balancePng = encoded(balance);
    const QImage preview = pictures.preview(drawn, map, previewSide);
    PagePictures result;
    result.preview = encodePng(preview, PngCompression::Fast);
    result.map = mapPng.get();
    result.balance = balancePng.get();
    result.size = drawn.size();
    result.previewSize = preview.size();
    return result;
}

} // namespace quintaraz
