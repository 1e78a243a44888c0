#include "art/tileart.h"
#include "editor/commandline.h"
#include "system/outputdevice.h"
#include "system/toolkittexts.h"
#include "widgets/applicationsetup.h"
#include "widgets/mainwindow.h"
#include "widgets/qtuserdialogs.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

/**
 * Reads the command line before the window system is reached, so that --help, --version
 * and usage errors need no display. Only a core application, which needs none, is made for
 * it: it gives the toolkit's Spanish texts for option errors.
 */
quintaraz::EditorCommandLine readCommandLine(int argc, char* argv[], QTextStream& out,
                                             QTextStream& err)
{
    std::vector<char*> words(argv, argv + argc);
    words.push_back(nullptr);
    int count = argc;
    QCoreApplication core(count, words.data());
    QCoreApplication::setApplicationVersion(QStringLiteral(QUINTARAZ_VERSION));
    quintaraz::installSpanishToolkitTexts(core);
    return quintaraz::readEditorCommandLine(QCoreApplication::arguments(), out, err);
}

/** How many words the toolkit may see: those before "--", after which come file names. */
int toolkitWords(int argc, char* argv[])
{
    return int(std::find_if(argv, argv + argc,
                            [](const char* word) { return std::strcmp(word, "--") == 0; }) -
               argv);
}

} // namespace

int main(int argc, char* argv[])
{
    // Under a file-size limit a save then fails with a message instead of ending the editor;
    // output into a closed pipe fails likewise.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    quintaraz::OutputDevice standardOutput(STDOUT_FILENO);
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    const quintaraz::EditorCommandLine command = readCommandLine(argc, argv, out, err);
    if (command.exitStatus)
        return quintaraz::finishOutput(out, standardOutput, err, "quintaraz-editor",
                                       *command.exitStatus);

    int toolkitArgc = toolkitWords(argc, argv);
    QApplication app(toolkitArgc, argv);
    const quintaraz::TileArt art;
    quintaraz::setUpApplication(app, art);
    quintaraz::QtUserDialogs dialogs;
    quintaraz::MainWindow window(art, dialogs);
    dialogs.setWindow(&window);
    window.show();
    if (!command.file.isEmpty()) {
        // Once the window shows, as if chosen with "Abrir"; a terminal learns why a file
        // did not open as well, before the message box.
        dialogs.rememberChosenFile(command.file);
        QObject::connect(&window.editor(), &quintaraz::Editor::openFailed, &window,
                         [&err](const QString& path, const QString& reason) {
                             err << "quintaraz-editor: " << path << ": " << reason << Qt::endl;
                         });
        QTimer::singleShot(0, &window, [&] { window.editor().openFile(command.file); });
    }
    const int status = QApplication::exec();
    return quintaraz::finishOutput(out, standardOutput, err, "quintaraz-editor", status);
}
