#pragma once

#include <QWidget>

class QLineEdit;

namespace quintaraz {

class MainWindow;

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
    NewMapDialog(MainWindow& main, const QImage& icon);

    /** "Aceptar": an empty box refuses silently; otherwise clamps, starts the map and closes. */
    void accept();

private:
    MainWindow& main_;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
};

} // namespace quintaraz
