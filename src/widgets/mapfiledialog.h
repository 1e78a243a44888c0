#pragma once

#include <QFileDialog>

class QAbstractItemView;
class QLineEdit;

namespace quintaraz {

/**
 * The file dialog of "Abrir" and "Guardar", where the name in the name field is the choice.
 *
 * While a name is typed, Qt's dialog selects in its list each file that the name typed so
 * far names (with ".map" added), and it copies a selection into the name field whenever
 * that field lacks the focus. The field can lack it while keys still reach it: a window
 * manager that lets the focus follow the pointer, or an application that is not the
 * active one for a moment, and "mundo" becomes "mundo.map" in the middle of typing
 * "/ruta/mundo.map" — a name nobody typed, in another folder. Here only a choice made in
 * the list itself (a click, the arrow keys) names the file; and the selection counts only
 * while the name field shows just the one selected file, as such a choice leaves it.
 */
class MapFileDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit MapFileDialog(QWidget* parent = nullptr);

    void accept() override;

private:
    /** Shows the files chosen in the list in the name field, as Qt's dialog does. */
    void nameChosenFiles();

    QLineEdit* name_ = nullptr; // none in a desktop's own dialog
    QAbstractItemView* list_ = nullptr;
    QAbstractItemView* details_ = nullptr;
};

} // namespace quintaraz
