#include "editorfont.h"

#include <QStringList>

namespace quintaraz {

QFont editorFont(QFont base)
{
    base.setFamilies(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                 QStringLiteral("Helvetica")});
    base.setStyleHint(QFont::SansSerif);
    base.setPixelSize(11);
    return base;
}

} // namespace quintaraz
