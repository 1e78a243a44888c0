#include "tiled/tiledformat.h"

#include <QFileInfo>

namespace quintaraz {

std::optional<TiledFormat> tiledFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("tmx"))
        return TiledFormat::Tmx;
    if (suffix == QLatin1String("tmj") || suffix == QLatin1String("json"))
        return TiledFormat::Tmj;
    return std::nullopt;
}

} // namespace quintaraz
