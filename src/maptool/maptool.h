#pragma once

#include <QStringList>
#include <QTextStream>

namespace quintaraz {

/**
 * quintaraz-map: checks, draws and describes map files from the command line, with the
 * editor's own reader and pictures, measures how fair they are, converts them to and from
 * Tiled's formats, serves git as the maps' text view, diff and merge driver, and makes new
 * maps. Each command lives in a unit of its own (its CommandEntry); this finds it by name.
 * Exit statuses as ExitStatus names them.
 */
class MapTool {
public:
    MapTool(QTextStream& out, QTextStream& err);

    /** Runs the command in arguments (the program's name first) and gives the exit status. */
    int run(const QStringList& arguments);

private:
    void printHelp();
    int usageError(const QString& problem);

    QTextStream& out_;
    QTextStream& err_;
};

} // namespace quintaraz
