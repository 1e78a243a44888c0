#include "system/filenames.h"

#include <algorithm>

namespace quintaraz {

namespace {

// The lone surrogates that carry a byte that is not UTF-8: 0xdc00 plus the byte, which is
// always 0x80 or more (an ASCII byte is always UTF-8).
constexpr char16_t byteCarrier = 0xdc00;

bool carriesByte(char16_t unit)
{
    return unit >= byteCarrier + 0x80 && unit <= byteCarrier + 0xff;
}

/**
 * The length of the well-formed UTF-8 sequence at the start of bytes (RFC 3629: no
 * overlong forms, no surrogates, nothing past U+10FFFF), or 0.
 */
qsizetype sequenceLength(QByteArrayView bytes)
{
    const auto byte = [&](qsizetype k) { return uchar(bytes[k]); };
    const uchar first = byte(0);
    qsizetype length = 0;
    uchar low = 0x80;
    uchar high = 0xbf;
    if (first < 0x80)
        return 1;
    if (first >= 0xc2 && first <= 0xdf) {
        length = 2;
    } else if (first >= 0xe0 && first <= 0xef) {
        length = 3;
        low = first == 0xe0 ? 0xa0 : 0x80;
        high = first == 0xed ? 0x9f : 0xbf;
    } else if (first >= 0xf0 && first <= 0xf4) {
        length = 4;
        low = first == 0xf0 ? 0x90 : 0x80;
        high = first == 0xf4 ? 0x8f : 0xbf;
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xbf)
            return 0;
    return length;
}

} // namespace

QString fileNameFromBytes(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype k = 0; k < bytes.size();) {
        const qsizetype length = sequenceLength(bytes.sliced(k));
        if (length == 0) {
            name += QChar(char16_t(byteCarrier + uchar(bytes[k])));
            ++k;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(k, length));
        k += length;
    }
    return name;
}

QByteArray fileNameBytes(const QString& name)
{
    if (!hasForeignBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype k = 0; k < name.size(); ++k) {
        const char16_t unit = name[k].unicode();
        if (carriesByte(unit)) {
            bytes += char(unit - byteCarrier);
            continue;
        }
        // A surrogate pair is one character: both halves at once.
        const qsizetype length = QChar::isHighSurrogate(unit) && k + 1 < name.size() ? 2 : 1;
        bytes += QStringView(name).sliced(k, length).toUtf8();
        k += length - 1;
    }
    return bytes;
}

bool hasForeignBytes(const QString& name)
{
    for (const QChar character : name)
        if (carriesByte(character.unicode()))
            return true;
    return false;
}

QString printableName(const QString& name)
{
    QString shown;
    shown.reserve(name.size());
    for (const QChar character : name) {
        const char16_t unit = character.unicode();
        if (carriesByte(unit))
            shown += QStringLiteral("\\x%1").arg(unit - byteCarrier, 2, 16, QLatin1Char('0'));
        else if (unit == u'\n')
            shown += QStringLiteral("\\n");
        else if (unit == u'\r')
            shown += QStringLiteral("\\r");
        else if (unit == u'\t')
            shown += QStringLiteral("\\t");
        else if (unit < 0x20 || unit == 0x7f)
            shown += QStringLiteral("\\x%1").arg(int(unit), 2, 16, QLatin1Char('0'));
        else if (unit >= 0x80 && unit < 0xa0)
            shown += QStringLiteral("\\u%1").arg(int(unit), 4, 16, QLatin1Char('0'));
        else
            shown += character;
    }
    return shown;
}

QString shellQuoted(const QString& name)
{
    const auto plain = [](QChar character) {
        return character.isLetterOrNumber() || QStringLiteral("-_./%=+,:@").contains(character);
    };
    if (!name.isEmpty() && std::all_of(name.begin(), name.end(), plain))
        return name;
    if (printableName(name) == name)
        return u'\'' + QString(name).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    QString word = QStringLiteral("$'");
    for (const QChar character : name) {
        if (character == u'\\' || character == u'\'')
            word += u'\\';
        word += printableName(QString(character));
    }
    return word + u'\'';
}

} // namespace quintaraz
