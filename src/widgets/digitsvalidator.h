#pragma once

#include <QValidator>

class QLineEdit;

namespace quintaraz {

/**
 * Lets only the digits 0 to 9 into a text box. A typed character that is not a digit is
 * dropped and the box stays as it was; pasted or dropped text keeps only its digits.
 */
class DigitsValidator : public QValidator {
    Q_OBJECT

public:
    /** Watches the keys typed into box, whose validator it becomes. */
    explicit DigitsValidator(QLineEdit* box);

    State validate(QString& input, int& position) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/** The value of a box of digits, leading zeros allowed; anything above 99 reads as 100. */
int sizeTextValue(QStringView digits);

} // namespace quintaraz
