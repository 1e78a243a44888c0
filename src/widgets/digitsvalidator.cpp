#include "widgets/digitsvalidator.h"

#include "map/gamemap.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace quintaraz {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

DigitsValidator::DigitsValidator(QLineEdit* box)
    : QValidator(box)
{
    box->setValidator(this);
    box->installEventFilter(this);
}

bool DigitsValidator::eventFilter(QObject* watched, QEvent* event)
{
    // Dropped before the box sees it, so that it cannot take the place of a selection.
    // Backspace, Enter, Tab and keys that type nothing go on as usual, as do shortcuts.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool types =
            !text.isEmpty() && text.front().isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (types && !std::all_of(text.begin(), text.end(), isDigit))
            return true;
    }
    return QValidator::eventFilter(watched, event);
}

QValidator::State DigitsValidator::validate(QString& input, int& position) const
{
    // Other characters are dropped rather than refusing the whole edit, so a typed
    // letter leaves the box as it was and pasted text keeps only its digits.
    QString digits;
    int kept = 0;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (isDigit(c)) {
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
        if (!isDigit(c))
            continue;
        // Saturate: thirty nines must not overflow, only be greater than any map size.
        value = std::min(value * 10 + (c.unicode() - u'0'), mapSizeLimits.highest + 1);
    }
    return value;
}

} // namespace quintaraz
