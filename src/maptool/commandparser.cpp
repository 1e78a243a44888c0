#include "maptool/commandparser.h"

#include "system/filenames.h"

namespace quintaraz {

CommandParser::CommandParser(const char* name, const char* arguments, const char* description,
                             QTextStream& out)
    : name_(name)
    , arguments_(arguments)
    , description_(description)
    , out_(out)
{
    // "-o.map" is one word, as a file name is, never the letters o, ., m, a and p.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(help_);
}

void CommandParser::addOption(const QCommandLineOption& option)
{
    parser_.addOption(option);
    options_.append(option);
}

QString CommandParser::parse(const QStringList& arguments, int least, int most)
{
    if (!parser_.parse(arguments)) {
        if (const QString unknown = unknownOption(arguments); !unknown.isEmpty())
            return QStringLiteral("opción desconocida «%1»; tras «--» todo es un archivo")
                .arg(printableName(unknown));
        return parser_.errorText();
    }
    if (parser_.isSet(help_)) {
        helped_ = true;
        out_ << "Uso: quintaraz-map " << QString::fromUtf8(name_) << ' '
             << QString::fromUtf8(arguments_) << "\n\n"
             << QString::fromUtf8(description_) << "\n\nOpciones:\n";
        for (const QCommandLineOption& option : options_)
            out_ << "  --" << option.names().constFirst()
                 << (option.valueName().isEmpty() ? QString() : ' ' + option.valueName()) << "  "
                 << option.description() << '\n';
        out_ << "  -h, --help  Muestra esta ayuda.\n"
                "  --  Lo que sigue son archivos, aunque empiecen por «-».\n";
        return {};
    }
    const int count = int(parser_.positionalArguments().size());
    if (count < least)
        return QStringLiteral("faltan argumentos");
    if (most >= 0 && count > most)
        return QStringLiteral("sobra «%1»").arg(parser_.positionalArguments().at(most));
    return {};
}

QString CommandParser::unknownOption(const QStringList& arguments) const
{
    const QStringList unknown = parser_.unknownOptionNames();
    if (unknown.isEmpty())
        return {};
    // The word as it was typed, dashes and value included.
    for (const QString& argument : arguments.sliced(1)) {
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
