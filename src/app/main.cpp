#include "../art/tileart.h"
#include "mainwindow.h"
#include "qtuserdialogs.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("editor"));
    QApplication::setApplicationVersion(QStringLiteral(QUINTARAZ_VERSION));

    // Every text the user sees is Spanish, the toolkit's own dialogs included.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_es"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    const quintaraz::TileArt art;
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(art.icon())));

    quintaraz::QtUserDialogs dialogs;
    quintaraz::MainWindow window(art, dialogs);
    dialogs.setWindow(&window);
    window.show();
    return QApplication::exec();
}
