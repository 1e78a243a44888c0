#include "digitsvalidator.h"

namespace quintaraz {

QValidator::State DigitsValidator::validate(QString& input, int& position) const
{
    // Other characters are dropped rather than refusing the whole edit, so a typed
    // letter leaves the box as it was and pasted text keeps only its digits.
    QString digits;
    int kept = 0;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c >= u'0' && c <= u'9') {
            digits.append(c);
            if (i < position)
                ++kept;
        }
    }
    input = digits;
    position = kept;
    return Acceptable;
}

int sizeTextValue(QStringView digits)
{
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            continue;
        // Saturate: thirty nines must not overflow, only be "greater than 99".
        value = std::min(value * 10 + (c.unicode() - u'0'), 100);
    }
    return value;
}

} // namespace quintaraz
