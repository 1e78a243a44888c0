// Shows one message box the way the editor shows it, so that a test can compare what the
// editor shows with what that message should look like.
//   showmessage message KIND [DETAIL]   one of the editor's messages, by its kind's number
//   showmessage replace TITLE FILE      the file dialog's question before it replaces FILE

#include "art/tileart.h"
#include "editor/editormessage.h"
#include "widgets/applicationsetup.h"
#include "widgets/qtuserdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 3 || argc > 4)
        return 2;
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);
    const QByteArray what = argv[1];
    if (what == "replace" && argc == 4) {
        QMessageBox::warning(nullptr, QString::fromUtf8(argv[2]),
                             QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                                 .arg(QString::fromUtf8(argv[3])),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        return 0;
    }
    if (what != "message")
        return 2;
    quintaraz::QtUserDialogs dialogs;
    dialogs.showMessage(quintaraz::EditorMessage(QByteArray(argv[2]).toInt()),
                        argc == 4 ? QString::fromUtf8(argv[3]) : QString());
    return 0;
}
