#include "widgets/qtuserdialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quintaraz {

QtUserDialogs::QtUserDialogs() = default;

QtUserDialogs::~QtUserDialogs()
{
    delete fileDialog_.data();
}

void QtUserDialogs::setWindow(QWidget* window)
{
    window_ = window;
}

bool QtUserDialogs::askYesNo(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, window_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtUserDialogs::showMessage(EditorMessage message, const QString& detail)
{
    const MessageWords words = messageWords(message);
    QMessageBox box(words.error ? QMessageBox::Critical : QMessageBox::Information, words.title,
                    words.text, QMessageBox::Ok, window_);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    box.setDetailedText(detail);
    box.exec();
}

QString QtUserDialogs::chooseFileToOpen()
{
    return chooseFile(false);
}

QString QtUserDialogs::chooseFileToSave()
{
    return chooseFile(true);
}

QString QtUserDialogs::chooseFile(bool save)
{
    // Made on first use, not at start-up, which it would slow down for nothing.
    if (!fileDialog_) {
        fileDialog_ = new MapFileDialog(window_);
        fileDialog_->setObjectName(QStringLiteral("dialogo"));
        fileDialog_->setDefaultSuffix(QStringLiteral("map"));
        // Listing a folder, /proc and /sys included, must never read a file.
        fileDialog_->setIconProvider(&fileIcons_);
    }
    fileDialog_->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fileDialog_->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The dialog offers the name chosen last, by either command.
    if (!lastChosen_.isEmpty())
        fileDialog_->selectFile(lastChosen_);
    const int result = fileDialog_->exec();
    // A cancelled dialog means that nothing was chosen, whatever name it still shows.
    if (result != QDialog::Accepted || fileDialog_->selectedFiles().isEmpty())
        return {};
    lastChosen_ = fileDialog_->selectedFiles().constFirst();
    return lastChosen_;
}

} // namespace quintaraz
