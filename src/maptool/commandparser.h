#pragma once

#include "maptool/commandentry.h"
#include "maptool/exitstatus.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace quintaraz {

class ToolContext;

/**
 * One command's own command line: the options its unit adds, --help, and its arguments
 * checked against the counts its entry takes. Every usage line has one shape:
 * "quintaraz-map ORDEN [opciones] ARGUMENTOS".
 */
class CommandParser {
public:
    /** The command line of entry's command; arguments begin with the program's name. */
    CommandParser(ToolContext& tool, const CommandEntry& entry, const QStringList& arguments);

    /** Adds an option that takes no value; the option, to ask the parser about it. */
    QCommandLineOption flag(const QString& name, const QString& description);
    /** Adds an option with a value, named valueName in --help. */
    QCommandLineOption option(const QString& name, const QString& description,
                              const QString& valueName, const QString& defaultValue = {});

    /**
     * Reads the command line. Gives the exit status to end with at once: after --help, or
     * after a usage error said on standard error; nothing when the command goes on.
     */
    std::optional<ExitStatus> parse();

    bool isSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
    QString value(const QCommandLineOption& option) const { return parser_.value(option); }
    /** The arguments that are not options: files, mostly. */
    QStringList files() const { return parser_.positionalArguments(); }

    /** Says a problem with the command line and the usage line; gives ExitStatus::Usage. */
    ExitStatus usageError(const QString& problem);
    /** "check [opciones] ARCHIVO...". */
    QString usage() const;

private:
    /** The problem with the arguments, or nothing. */
    QString problem();
    void printHelp();
    /** The first argument that names no option of the command, whole; nothing if none. */
    QString unknownOption() const;

    ToolContext& tool_;
    const CommandEntry& entry_;
    const QStringList arguments_;
    QCommandLineParser parser_;
    const QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}};
    QList<QCommandLineOption> options_;
};

} // namespace quintaraz
