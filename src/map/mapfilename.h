#pragma once

#include <QString>

namespace quintaraz {

/** Whether a file name without its folder ends in the extension "map", exactly. */
bool hasMapExtension(const QString& fileTitle);

} // namespace quintaraz
