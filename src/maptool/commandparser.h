#pragma once

#include <QCommandLineParser>
#include <QTextStream>

namespace quintaraz {

/**
 * One command's own command line: its options, --help, and its arguments checked against
 * the counts it takes.
 */
class CommandParser {
public:
    /**
     * The command's name and arguments for its usage line, and what --help says of it: UTF-8
     * text that outlives the parser, made into strings only for --help, which most runs
     * never show.
     */
    CommandParser(const char* name, const char* arguments, const char* description,
                  QTextStream& out);

    void addOption(const QCommandLineOption& option);
    bool isSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
    QString value(const QCommandLineOption& option) const { return parser_.value(option); }

    /**
     * The problem with the arguments, or nothing. --help prints the command's help; most
     * below 0 takes any number.
     */
    QString parse(const QStringList& arguments, int least, int most);

    bool helped() const { return helped_; }
    QStringList files() const { return parser_.positionalArguments(); }

private:
    /** The first argument that names no option of the command, whole; nothing if none. */
    QString unknownOption(const QStringList& arguments) const;

    const char* name_;
    const char* arguments_;
    const char* description_;
    QTextStream& out_;
    QCommandLineParser parser_;
    const QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}};
    QList<QCommandLineOption> options_;
    bool helped_ = false;
};

} // namespace quintaraz
