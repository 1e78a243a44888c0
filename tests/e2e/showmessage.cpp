// Shows one of the editor's message boxes on its own, so that a test can compare
// what the editor shows with what that message should look like.
//   showmessage TITLE TEXT error|information

#include "app/applicationsetup.h"
#include "app/qtuserdialogs.h"
#include "art/tileart.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);
    quintaraz::QtUserDialogs dialogs;
    dialogs.showMessage(QString::fromUtf8(argv[1]), QString::fromUtf8(argv[2]),
                        QByteArray(argv[3]) == "error" ? quintaraz::UserDialogs::Icon::Error
                                                       : quintaraz::UserDialogs::Icon::Information);
    return 0;
}
