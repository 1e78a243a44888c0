#include "maptool/shellword.h"

#include "system/filenames.h"

namespace quintaraz {

namespace {

bool isPlain(QChar character)
{
    return (character.unicode() < 0x80 && character.isLetterOrNumber()) ||
           QStringLiteral("-_./%=,:+@").contains(character);
}

bool isControl(QChar character)
{
    return character.unicode() < 0x20 || character.unicode() == 0x7f;
}

} // namespace

QString shellWord(const QString& word)
{
    if (!word.isEmpty() && std::all_of(word.begin(), word.end(), isPlain))
        return word;
    if (!hasForeignBytes(word) && std::none_of(word.begin(), word.end(), isControl))
        return u'\'' + QString(word).replace(u'\'', QLatin1String("'\\''")) + u'\'';
    // Byte by byte: what is no text is still the same bytes when the shell reads it back.
    QString quoted = QStringLiteral("$'");
    const QByteArray bytes = fileNameBytes(word);
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const uchar byte = uchar(bytes[k]);
        if (byte < 0x20 || byte >= 0x7f)
            quoted += QStringLiteral("\\x%1").arg(int(byte), 2, 16, QLatin1Char('0'));
        else if (byte == '\'' || byte == '\\')
            quoted += u'\\' + QChar(byte);
        else
            quoted += QChar(byte);
    }
    return quoted + u'\'';
}

} // namespace quintaraz
