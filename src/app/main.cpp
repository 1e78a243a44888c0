#include "../art/tileart.h"
#include "applicationsetup.h"
#include "mainwindow.h"
#include "qtuserdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);

    quintaraz::QtUserDialogs dialogs;
    quintaraz::MainWindow window(art, dialogs);
    dialogs.setWindow(&window);
    window.show();
    return QApplication::exec();
}
