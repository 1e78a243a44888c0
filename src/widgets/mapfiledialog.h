#pragma once

#include <QFileDialog>
#include <QPointer>

class QAbstractItemView;
class QCompleter;
class QLineEdit;

namespace quintaraz {

/**
 * The file dialog of "Abrir" and "Guardar", where the name in the name field is the choice.
 *
 * The name field's keys can reach it while the field lacks the keyboard focus: a window
 * manager that lets the focus follow the pointer, or a dialog that the editor, busy, has
 * not yet taken for the active window. Qt's dialog then goes wrong twice, and here neither
 * happens:
 * - It copies each file that the name typed so far names (with ".map" added) into the name
 *   field, and "mundo" becomes "mundo.map" in the middle of typing "/ruta/mundo.map". Here
 *   only a choice made in the list itself (a click, the arrow keys) names the file; and the
 *   selection counts only while the name field shows just the one selected file.
 * - Its list of completions opens and closes again at every key, each time taking the
 *   keyboard, at times in a window of its own made anew; keys that the X server gives a
 *   list window Qt has already destroyed are lost, and on a busy machine
 *   "/ruta/tst_e2e/a.map" becomes "/ruta/tst_2e/a.map". Here that list opens only while
 *   the name field holds the keyboard focus, and never outlives the dialog.
 */
class MapFileDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit MapFileDialog(QWidget* parent = nullptr);

    void accept() override;
    void done(int result) override;

private:
    /** Shows the files chosen in the list in the name field, as Qt's dialog does. */
    void nameChosenFiles();
    /** Whether the name field holds the keyboard focus, in the dialog that is active. */
    bool typingInTheNameField() const;

    QLineEdit* name_ = nullptr; // none in a desktop's own dialog
    QAbstractItemView* list_ = nullptr;
    QAbstractItemView* details_ = nullptr;
    QPointer<QCompleter> completions_;
};

} // namespace quintaraz
