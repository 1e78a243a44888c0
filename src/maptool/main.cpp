// quintaraz-map: the command-line companion of the editor; see MapTool.

#include "maptool/maptool.h"
#include "system/filenames.h"
#include "system/outputdevice.h"
#include "system/toolkittexts.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    // Under a file-size limit a picture then fails with a message, not with a signal; so
    // does output into a closed pipe.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quintaraz-map"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUINTARAZ_VERSION));
    quintaraz::installSpanishToolkitTexts(application);

    // Every argument as its bytes: a name that is not UTF-8 still names its file.
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments << quintaraz::fileNameFromBytes(argv[k]);

    quintaraz::OutputDevice standardOutput(STDOUT_FILENO);
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    const int status = quintaraz::MapTool(out, err).run(arguments);
    return quintaraz::finishOutput(out, standardOutput, err, "quintaraz-map", status);
}
