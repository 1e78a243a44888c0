#pragma once

#include "editor/userdialogs.h"
#include "widgets/mapfiledialog.h"
#include "widgets/namedfileiconprovider.h"

#include <QPointer>

class QWidget;

namespace quintaraz {

/** The real dialogs: Qt's message boxes and one file dialog shared by Open and Save. */
class QtUserDialogs : public UserDialogs {
public:
    QtUserDialogs();
    ~QtUserDialogs() override;

    /** The window that the dialogs are modal to and centred over. */
    void setWindow(QWidget* window);
    /** The file dialog offers this file next, as if it had been chosen in it. */
    void rememberChosenFile(const QString& path) { lastChosen_ = path; }

    bool askYesNo(const QString& title, const QString& text) override;
    void showMessage(EditorMessage message, const QString& detail = {}) override;
    QString chooseFileToOpen() override;
    QString chooseFileToSave() override;

private:
    QString chooseFile(bool save);

    QPointer<QWidget> window_;
    NamedFileIconProvider fileIcons_;
    QPointer<MapFileDialog> fileDialog_; // made on first use, shared by both commands
    QString lastChosen_;
};

} // namespace quintaraz
