// Shows one of the editor's message boxes on its own, so that a test can compare
// what the editor shows with what that message should look like.
//   showmessage TITLE TEXT error|information

#include "app/qtuserdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    quintaraz::QtUserDialogs dialogs;
    dialogs.showMessage(QString::fromUtf8(argv[1]), QString::fromUtf8(argv[2]),
                        QByteArray(argv[3]) == "error" ? quintaraz::UserDialogs::Icon::Error
                                                       : quintaraz::UserDialogs::Icon::Information);
    return 0;
}
