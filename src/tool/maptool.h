#pragma once

#include <QImage>
#include <QStringList>
#include <QTextStream>

#include <array>
#include <functional>
#include <optional>

namespace quintaraz {

class CommandParser;
struct GameMap;
class MapPicture;

/**
 * quintaraz-map: checks, draws and describes map files from the command line, with the
 * editor's own reader and pictures, and converts them to and from Tiled's formats. Exit
 * status 0 when all went well, 1 when a file would not open or could not be written (or,
 * for check --strict, holds something a game may not expect), 2 for a command line that is
 * not understood.
 */
class MapTool {
public:
    MapTool(QTextStream& out, QTextStream& err);

    /** Runs the command in arguments (the program's name first) and gives the exit status. */
    int run(const QStringList& arguments);

private:
    struct Command {
        const char* name;
        const char* arguments; // as the usage line shows them
        const char* description;
        int (MapTool::*run)(const Command& command, const QStringList& arguments);

        QString usage() const;
    };
    static const std::array<Command, 6> commands_;

    int check(const Command& command, const QStringList& arguments);
    int render(const Command& command, const QStringList& arguments);
    int info(const Command& command, const QStringList& arguments);
    int thumbnail(const Command& command, const QStringList& arguments);
    int exportMap(const Command& command, const QStringList& arguments);
    int importMap(const Command& command, const QStringList& arguments);

    /** How a picture goes to its file: replacing the old one whole, or into the file itself. */
    enum class Output { Replacing, InPlace };

    /**
     * A command's own command line, and reading its arguments, least to most of them:
     * parse gives the exit status to end with at once (its help, or a usage error), if any.
     */
    CommandParser parserFor(const Command& command);
    std::optional<int> parse(CommandParser& line, const Command& command,
                             const QStringList& arguments, int least, int most);
    int usageError(const Command* command, const QString& problem);
    /** Says what went wrong with a file on standard error; gives the exit status 1. */
    int fail(const QString& file, const QString& problem);
    /**
     * Reads a map and writes what draw makes of it as PNG, unless the output may not be
     * written over; gives the exit status.
     */
    int drawToPng(const QString& map, const QString& png, Output output,
                  const std::function<QImage(const MapPicture&, const GameMap&)>& draw);

    QTextStream& out_;
    QTextStream& err_;
};

} // namespace quintaraz
