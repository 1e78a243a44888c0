#pragma once

#include <QFont>

namespace quintaraz {

/** The editor's typeface, a narrow sans serif, at the size of base. */
QFont editorTypeface(QFont base);

/**
 * The font of both windows' controls: the editor's typeface at 11 pixels, so that the
 * captions fit the fixed label boxes of the layout.
 */
QFont editorFont(QFont base);

} // namespace quintaraz
