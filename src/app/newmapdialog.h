#pragma once

#include <QWidget>

class QLineEdit;

namespace quintaraz {

class MainWindow;

/**
 * The "Nuevo Mapa" window ("nuevo"): the user types a width and a height and
 * "Aceptar" starts a new map of that size, clamped to 16..99.
 */
class NewMapDialog : public QWidget {
    Q_OBJECT

public:
    NewMapDialog(MainWindow& main, const QImage& icon);

    /** "Aceptar": an empty box refuses silently; otherwise clamps, starts the map and closes. */
    void accept();

private:
    MainWindow& main_;
    QLineEdit* ancho_ = nullptr; // the width
    QLineEdit* alto_ = nullptr;  // the height
};

} // namespace quintaraz
