// Shows one message box the way the editor shows it, so that a test can compare what the
// editor shows with what that message should look like.
//   showmessage TITLE TEXT error|information [DETAIL]
//   showmessage TITLE FILE replace      the file dialog's question before it replaces FILE

#include "art/tileart.h"
#include "widgets/applicationsetup.h"
#include "widgets/qtuserdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 4 || argc > 5)
        return 2;
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);
    const QString title = QString::fromUtf8(argv[1]);
    const QString text = QString::fromUtf8(argv[2]);
    const QByteArray kind = argv[3];
    if (kind == "replace") {
        QMessageBox::warning(
            nullptr, title,
            QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(text),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        return 0;
    }
    quintaraz::QtUserDialogs dialogs;
    dialogs.showMessage(title, text,
                        kind == "error" ? quintaraz::UserDialogs::Icon::Error
                                        : quintaraz::UserDialogs::Icon::Information,
                        argc == 5 ? QString::fromUtf8(argv[4]) : QString());
    return 0;
}
