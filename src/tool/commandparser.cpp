#include "tool/commandparser.h"

namespace quintaraz {

CommandParser::CommandParser(const char* name, const char* arguments, const char* description,
                             QTextStream& out)
    : name_(name)
    , arguments_(arguments)
    , description_(description)
    , out_(out)
{
    parser_.addOption(help_);
}

void CommandParser::addOption(const QCommandLineOption& option)
{
    parser_.addOption(option);
    options_.append(option);
}

QString CommandParser::parse(const QStringList& arguments, int least, int most)
{
    if (!parser_.parse(arguments))
        return parser_.errorText();
    if (parser_.isSet(help_)) {
        helped_ = true;
        out_ << "Uso: quintaraz-map " << QString::fromUtf8(name_) << ' '
             << QString::fromUtf8(arguments_) << "\n\n"
             << QString::fromUtf8(description_) << "\n\nOpciones:\n";
        for (const QCommandLineOption& option : options_)
            out_ << "  --" << option.names().constFirst()
                 << (option.valueName().isEmpty() ? QString() : ' ' + option.valueName()) << "  "
                 << option.description() << '\n';
        out_ << "  -h, --help  Muestra esta ayuda.\n";
        return {};
    }
    const int count = int(parser_.positionalArguments().size());
    if (count < least)
        return QStringLiteral("faltan argumentos");
    if (most >= 0 && count > most)
        return QStringLiteral("sobra «%1»").arg(parser_.positionalArguments().at(most));
    return {};
}

} // namespace quintaraz
