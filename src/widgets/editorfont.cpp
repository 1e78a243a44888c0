#include "widgets/editorfont.h"

#include <QStringList>

namespace quintaraz {

QFont editorTypeface(QFont base)
{
    base.setFamilies(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                 QStringLiteral("Helvetica")});
    base.setStyleHint(QFont::SansSerif);
    return base;
}

QFont editorFont(QFont base)
{
    base = editorTypeface(base);
    base.setPixelSize(11);
    return base;
}

} // namespace quintaraz
