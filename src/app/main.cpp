#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "app/qtuserdialogs.h"
#include "art/tileart.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // Under a file-size limit a save then fails with a message instead of ending the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);

    quintaraz::QtUserDialogs dialogs;
    quintaraz::MainWindow window(art, dialogs);
    dialogs.setWindow(&window);
    window.show();
    return QApplication::exec();
}
