#pragma once

#include <QFont>

namespace quintaraz {

/**
 * The font of both windows' controls: a narrow sans serif at 11 pixels, so that the
 * captions fit the fixed label boxes of the layout.
 */
QFont editorFont(QFont base);

} // namespace quintaraz
