#pragma once

#include <QFileDialog>

namespace quintaraz {

/**
 * The file dialog of "Abrir" and "Guardar", where the name in the name field is the choice.
 *
 * While a name is typed, Qt's dialog selects in its list each file that the name typed so
 * far names, and such a selection can outlive the name that made it. The dialog then
 * prefers the selection: it opens, or asks about replacing and writes, another file than
 * the one typed. Here the selection counts only while the name field shows just the one
 * selected file, as a click or double click in the list leaves it.
 */
class MapFileDialog : public QFileDialog {
    Q_OBJECT

public:
    using QFileDialog::QFileDialog;

    void accept() override;
};

} // namespace quintaraz
