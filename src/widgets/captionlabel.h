#pragma once

#include <QHash>
#include <QLabel>
#include <QStaticText>

namespace quintaraz {

/**
 * A one-line caption at its top left that changes often, as the view's origin does with each
 * arrow key: it looks exactly as a QLabel of that text, but draws it from pieces laid out
 * once, the words and each number, where a QLabel lays out and shapes its whole text on every
 * repaint. Its background is its own, so that the window under it is not painted again.
 */
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    CaptionLabel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Piece {
        QStaticText text;
        qreal advance = 0;
    };
    /** A run of digits or of other characters, laid out in the label's font. */
    const Piece& piece(const QString& run);

    QHash<QString, Piece> pieces_;
};

} // namespace quintaraz
