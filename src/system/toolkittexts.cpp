#include "system/toolkittexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quintaraz {

void installSpanishToolkitTexts(QCoreApplication& application)
{
    auto* texts = new QTranslator(&application);
    if (texts->load(QStringLiteral("qtbase_es"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(texts);
}

} // namespace quintaraz
