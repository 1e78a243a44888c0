#pragma once

#include "map/gamemap.h"
#include "maptool/outputfiles.h"
#include "system/boundedread.h"
#include "tiled/tiledformat.h"

#include <QImage>
#include <QStringList>
#include <QTextStream>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quintaraz {

struct BalanceSettings;
class CommandParser;
struct GameMap;
struct GridPoint;
struct MapMerge;
struct MapReading;
class MapPicture;

/** How a command takes one of its maps. */
struct MapInput {
    int failure = 1;                           // the exit status when the map does not load
    InputKinds kinds = InputKinds::PlainFiles; // AlsoPipes: a pipe, or "-", as well
    QString name{};  // what messages call the map, when not by its file's name
    QString after{}; // what follows the reader's words in them
};

/** A map that a command read: the map, or the exit status to end with when it did not load. */
struct CommandMap {
    std::optional<GameMap> map;
    int status = 0;
};

/**
 * quintaraz-map: checks, draws and describes map files from the command line, with the
 * editor's own reader and pictures, converts them to and from Tiled's formats, serves git
 * as the maps' text view, diff and merge driver, and makes new maps. Exit status 0 when all went
 * well, 1 when a file would not open or could not be written (or, for check --strict, holds
 * something a game may not expect), 2 for a command line that is not understood; diff and
 * merge say 0 same or clean, 1 different or in conflict, 2 trouble.
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
    static const std::array<Command, 13> commands_;

    int check(const Command& command, const QStringList& arguments);
    int render(const Command& command, const QStringList& arguments);
    int info(const Command& command, const QStringList& arguments);
    int thumbnail(const Command& command, const QStringList& arguments);
    int exportMap(const Command& command, const QStringList& arguments);
    int importMap(const Command& command, const QStringList& arguments);
    int newMap(const Command& command, const QStringList& arguments);
    int grid(const Command& command, const QStringList& arguments);
    int diff(const Command& command, const QStringList& arguments);
    int merge(const Command& command, const QStringList& arguments);
    int balance(const Command& command, const QStringList& arguments);
    int gitSetup(const Command& command, const QStringList& arguments);
    int generate(const Command& command, const QStringList& arguments);

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
     * The map of a file, read as the editor reads it. When it does not load, the reader's
     * words are said on standard error and the command is to end with input.failure.
     */
    CommandMap readMap(const QString& file, const MapInput& input = {});
    /** The same for a file read already. */
    CommandMap loadedMap(MapReading reading, const QString& file, const MapInput& input);
    /** Says what went wrong with a file on standard error; gives the exit status 2. */
    int trouble(const QString& file, const QString& problem);
    /**
     * Reads a map and writes what draw makes of it as PNG, unless the output may not be
     * written over; gives the exit status.
     */
    int drawToPng(const QString& map, const QString& png, Output output,
                  const std::function<QImage(const MapPicture&, const GameMap&)>& draw,
                  PngCompression compression = PngCompression::Small);
    /**
     * Writes the map for Tiled, referring to the installed tilesets or with their pictures
     * beside it, all or none; source names the map read, if any. Gives the exit status.
     */
    int writeTiled(const GameMap& map, const QString& source, const QString& output,
                   TiledFormat format, bool force);
    /** Writes the files of one command all or none, each only where it may; the exit status. */
    int writeFiles(QList<PlannedFile> files, const QString& source, bool force);
    /**
     * Writes a merged map over ours, and its picture first when one is asked for; nothing
     * when the map would not open. Gives the exit status: 0, or 2 when it could not.
     */
    int writeMerge(const MapMerge& merged, const QString& ours,
                   const std::optional<QString>& picture);
    /**
     * Measures each map and says how fair it is, as text or JSON, drawing the one map's
     * picture when asked; gives the exit status.
     */
    int measureEach(const QStringList& files, const BalanceSettings& settings,
                    const std::optional<QString>& picture, bool json);
    /** Says on standard error what a merge could not merge. */
    void reportMerge(const MapMerge& merged, const QString& name, bool withoutBase);
    /** Writes a picture as PNG; says why not on standard error when it cannot. */
    bool writePng(const QString& png, const QImage& picture, Output output,
                  PngCompression compression = PngCompression::Small);
    /**
     * The map drawn as render draws it, with cells outlined, written to png unless it may
     * not be written over what is there; whether it was written.
     */
    bool writeOutlinedPng(const QString& png, const QString& source, const GameMap& map,
                          const std::vector<GridPoint>& cells);

    QTextStream& out_;
    QTextStream& err_;
};

} // namespace quintaraz
