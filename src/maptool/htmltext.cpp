#include "maptool/htmltext.h"

#include "system/filenames.h"

#include <QByteArray>

namespace quintaraz {

QString htmlText(const QString& text)
{
    const QString printable = printableName(text);
    QString escaped;
    escaped.reserve(printable.size() + printable.size() / 8);
    for (const QChar character : printable) {
        switch (character.unicode()) {
        case u'&':
            escaped += QLatin1String("&amp;");
            break;
        case u'<':
            escaped += QLatin1String("&lt;");
            break;
        case u'>':
            escaped += QLatin1String("&gt;");
            break;
        case u'"':
            escaped += QLatin1String("&quot;");
            break;
        case u'\'':
            escaped += QLatin1String("&#39;");
            break;
        default:
            escaped += character;
        }
    }
    return escaped;
}

QString urlPath(const QString& path)
{
    return QString::fromLatin1(fileNameBytes(path).toPercentEncoding("/"));
}

} // namespace quintaraz
