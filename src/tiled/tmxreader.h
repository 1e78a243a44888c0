#pragma once

#include "tiled/tiledparts.h"

#include <QByteArray>
#include <QString>

namespace quintaraz {

/** Reads the parts of a TMX map, Tiled's XML; what is wrong with the file, if anything. */
QString readTmxParts(const QByteArray& text, TiledParts& parts);

} // namespace quintaraz
