// quintaraz-map: the command-line companion of the editor; see MapTool.

#include "tool/maptool.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Under a file-size limit a picture then fails with a message, not with a signal.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quintaraz-map"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUINTARAZ_VERSION));
    // The toolkit's own words (option errors, "Uso:") in Spanish, as the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_es"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    QTextStream out(stdout);
    QTextStream err(stderr);
    return quintaraz::MapTool(out, err).run(QCoreApplication::arguments());
}
