#pragma once

#include "tiled/tiledparts.h"

#include <QByteArray>
#include <QString>

namespace quintaraz {

/** Reads the parts of a map in Tiled's JSON; what is wrong with the file, if anything. */
QString readTmjParts(const QByteArray& text, TiledParts& parts);

} // namespace quintaraz
