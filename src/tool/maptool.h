#pragma once

#include <QImage>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace quintaraz {

class MapDocument;
class MapPicture;

/**
 * quintaraz-map: checks, draws and describes map files from the command line, with the
 * editor's own reader and pictures. Exit status 0 when all went well, 1 when a file would
 * not open (or, for check --strict, holds something a game may not expect), 2 for a
 * command line that is not understood.
 */
class MapTool {
public:
    MapTool(QTextStream& out, QTextStream& err);

    /** Runs the command in arguments (the program's name first) and gives the exit status. */
    int run(const QStringList& arguments);

private:
    int check(const QStringList& arguments);
    int render(const QStringList& arguments);
    int info(const QStringList& arguments);
    int thumbnail(const QStringList& arguments);

    /** How a picture goes to its file: replacing the old one whole, or into the file itself. */
    enum class Output { Replacing, InPlace };

    int usageError(const QString& command, const QString& problem);
    /**
     * Reads a map and writes what draw makes of it as PNG, unless the output may not be
     * written over; gives the exit status.
     */
    int drawToPng(const QString& map, const QString& png, Output output,
                  const std::function<QImage(const MapPicture&, const MapDocument&)>& draw);

    QTextStream& out_;
    QTextStream& err_;
};

} // namespace quintaraz
