#include "editor/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <array>

namespace quintaraz {

namespace {

constexpr char usage[] = "Uso: quintaraz-editor [opciones] [archivo]\n";

// The toolkit's own options, which it takes before "--" once the window system is reached:
// known here too, so that their values are not taken for files.
constexpr std::array toolkitOptionsWithValue{"platform",        "platformpluginpath",
                                             "platformtheme",   "plugin",
                                             "qwindowgeometry", "geometry",
                                             "qwindowicon",     "icon",
                                             "qwindowtitle",    "title",
                                             "session",         "display",
                                             "style",           "stylesheet",
                                             "qmljsdebugger"};
constexpr std::array toolkitFlags{"reverse", "widgetcount", "nograb", "dograb", "sync"};

void addToolkitOptions(QCommandLineParser& parser)
{
    for (const char* name : toolkitOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), {}, QStringLiteral("x"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : toolkitFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

EditorCommandLine readEditorCommandLine(const QStringList& arguments, QTextStream& out,
                                        QTextStream& err)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Muestra esta ayuda."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Muestra la versión."));
    parser.addOption(help);
    parser.addOption(version);
    // "-platform xcb", as the toolkit writes its options; "-h" and "-v" still work.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addToolkitOptions(parser);
    EditorCommandLine command;
    const auto fail = [&](const QString& problem) {
        err << "quintaraz-editor: " << problem << '\n' << usage;
        err.flush();
        command.exitStatus = 2;
        return command;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        out << usage
            << "\nEditor de mapas de Quintaraz. Con un archivo, lo abre al empezar, como "
               "Archivo > Abrir.\n\nOpciones:\n"
               "  -h, --help     Muestra esta ayuda.\n"
               "  -v, --version  Muestra la versión.\n";
        command.exitStatus = 0;
    } else if (parser.isSet(version)) {
        out << "quintaraz-editor " << QCoreApplication::applicationVersion() << '\n';
        command.exitStatus = 0;
    } else if (const QStringList files = parser.positionalArguments(); files.size() > 1) {
        return fail(QStringLiteral("sobra «%1»: se abre un solo archivo").arg(files.at(1)));
    } else if (!files.isEmpty()) {
        command.file = QFileInfo(files.constFirst()).absoluteFilePath();
    }
    out.flush();
    return command;
}

} // namespace quintaraz
