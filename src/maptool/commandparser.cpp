#include "maptool/commandparser.h"

#include "maptool/toolcontext.h"
#include "system/filenames.h"

namespace quintaraz {

CommandParser::CommandParser(ToolContext& tool, const CommandEntry& entry,
                             const QStringList& arguments)
    : tool_(tool)
    , entry_(entry)
    , arguments_(arguments)
{
    // "-o.map" is one word, as a file name is, never the letters o, ., m, a and p.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(help_);
}

QCommandLineOption CommandParser::flag(const QString& name, const QString& description)
{
    return option(name, description, QString());
}

QCommandLineOption CommandParser::option(const QString& name, const QString& description,
                                         const QString& valueName, const QString& defaultValue)
{
    QCommandLineOption option(name, description, valueName, defaultValue);
    parser_.addOption(option);
    options_.append(option);
    return option;
}

std::optional<ExitStatus> CommandParser::parse()
{
    if (const QString problem = this->problem(); !problem.isEmpty())
        return usageError(problem);
    if (parser_.isSet(help_)) {
        printHelp();
        return ExitStatus::Success;
    }
    return std::nullopt;
}

QString CommandParser::problem()
{
    if (!parser_.parse(arguments_)) {
        const QString unknown = unknownOption();
        if (unknown.isEmpty())
            return parser_.errorText();
        return QStringLiteral("opción desconocida «%1»").arg(printableName(unknown)) +
               (entry_.takesFiles() ? QStringLiteral("; tras «--» todo es un archivo") : QString());
    }
    if (parser_.isSet(help_))
        return {};
    const QStringList given = parser_.positionalArguments();
    if (given.size() < entry_.leastArguments)
        return QStringLiteral("faltan argumentos");
    if (entry_.mostArguments >= 0 && given.size() > entry_.mostArguments)
        return QStringLiteral("sobra «%1»").arg(printableName(given.at(entry_.mostArguments)));
    return {};
}

void CommandParser::printHelp()
{
    QTextStream& out = tool_.out();
    out << "Uso: quintaraz-map " << usage() << "\n\n"
        << QString::fromUtf8(entry_.description) << "\n\nOpciones:\n";
    for (const QCommandLineOption& option : options_)
        out << "  --" << option.names().constFirst()
            << (option.valueName().isEmpty() ? QString() : ' ' + option.valueName()) << "  "
            << option.description() << '\n';
    out << "  -h, --help  Muestra esta ayuda.\n";
    if (entry_.takesFiles())
        out << "  --  Lo que sigue son archivos, aunque empiecen por «-».\n";
}

ExitStatus CommandParser::usageError(const QString& problem)
{
    tool_.err() << "quintaraz-map: " << problem << "\nUso: quintaraz-map " << usage() << '\n';
    return ExitStatus::Usage;
}

QString CommandParser::usage() const
{
    QString line = QString::fromUtf8(entry_.name);
    if (!options_.isEmpty())
        line += QStringLiteral(" [opciones]");
    if (*entry_.arguments)
        line += u' ' + QString::fromUtf8(entry_.arguments);
    return line;
}

QString CommandParser::unknownOption() const
{
    const QStringList unknown = parser_.unknownOptionNames();
    if (unknown.isEmpty())
        return {};
    // The word as it was typed, dashes and value included.
    for (const QString& argument : arguments_.sliced(1)) {
        if (argument == QLatin1String("--"))
            break;
        QStringView name(argument);
        while (name.startsWith(u'-'))
            name = name.sliced(1);
        if (name.size() < argument.size() && name.left(name.indexOf(u'=')) == unknown.first())
            return argument;
    }
    return u'-' + unknown.first();
}

} // namespace quintaraz
