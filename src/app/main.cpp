#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "app/qtuserdialogs.h"
#include "art/tileart.h"
#include "editor/commandline.h"

#include <QApplication>
#include <QTimer>

#include <csignal>

int main(int argc, char* argv[])
{
    // Under a file-size limit a save then fails with a message instead of ending the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const quintaraz::EditorCommandLine command =
        quintaraz::readEditorCommandLine(QCoreApplication::arguments(), out, err);
    if (command.exitStatus)
        return *command.exitStatus;

    quintaraz::QtUserDialogs dialogs;
    quintaraz::MainWindow window(art, dialogs);
    dialogs.setWindow(&window);
    window.show();
    if (!command.file.isEmpty()) {
        // Once the window shows, as if chosen with "Abrir"; where the window stays silent,
        // a terminal still learns why.
        dialogs.rememberChosenFile(command.file);
        QTimer::singleShot(0, &window, [&] {
            const QString problem = window.editor().openFile(command.file);
            if (!problem.isEmpty())
                err << "quintaraz-editor: " << command.file << ": " << problem << Qt::endl;
        });
    }
    return QApplication::exec();
}
