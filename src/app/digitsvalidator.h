#pragma once

#include <QValidator>

namespace quintaraz {

/** Lets only the digits 0 to 9 into a text box, whether typed, pasted or dropped. */
class DigitsValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

/** The value of a box of digits, leading zeros allowed; anything above 99 reads as 100. */
int sizeTextValue(QStringView digits);

} // namespace quintaraz
