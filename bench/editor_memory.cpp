// The editor's windows with a 100 by 100 map open, reporting their peak memory.
//   editor_memory --write-map PATH   writes the 100 by 100 map to measure with
//   editor_memory PATH               opens it, shows it, prints peak memory in kB

#include "art/tileart.h"
#include "fakedialogs.h"
#include "map/maptext.h"
#include "peakmemory.h"
#include "widgets/applicationsetup.h"
#include "widgets/mainwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--write-map") {
        quintaraz::GameMap map(99, 99);
        for (int p = 0; p < 8; ++p)
            map.starts[p] = quintaraz::GridPoint{std::int16_t(p), std::int16_t(p)};
        return quintaraz::savemap(map, QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if (argc != 2)
        return 2;
    // The same start-up as the editor's own.
    QApplication app(argc, argv);
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);
    FakeDialogs dialogs;
    dialogs.filesToChoose = {QString::fromLocal8Bit(argv[1])};
    dialogs.answerYes = true; // quitting asks the windows to close
    quintaraz::MainWindow window(art, dialogs);
    window.show();
    window.editor().open();
    if (!window.editor().document().mapLoaded)
        return 1;
    QTimer::singleShot(500, [] {
        std::printf("%ld\n", peakMemoryKilobytes());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
