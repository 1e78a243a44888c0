#pragma once

#include <QWidget>

class QLineEdit;

namespace quintaraz {

/**
 * The "Nuevo Mapa" window ("nuevo"): the user types a width and a height and "Aceptar"
 * starts a new map of that size, clamped to 16..99.
 *
 * A plain QWidget on purpose, not a QDialog: in a dialog Enter in a box would press a
 * default button and Escape would close the window, and here both must do nothing.
 */
class NewMapDialog : public QWidget {
    Q_OBJECT

public:
    /** A window placed beside main, the window it serves. */
    NewMapDialog(const QWidget& main, const QImage& icon);

    /** "Aceptar": an empty box refuses silently; otherwise clamps, says the size and closes. */
    void accept();

signals:
    /** The size chosen: the highest column and row, each within the map sizes. */
    void sizeChosen(int maxwidth, int maxheight);

private:
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
};

} // namespace quintaraz
