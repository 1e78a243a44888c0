#pragma once

#include "map/gamemap.h"
#include "maptool/exitstatus.h"
#include "maptool/outputfiles.h"
#include "system/boundedread.h"
#include "tiled/tiledformat.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

#include <functional>
#include <optional>
#include <vector>

namespace quintaraz {

class MapPicture;
struct MapReading;

/** How a command takes one of its maps. */
struct MapInput {
    ExitStatus failure = ExitStatus::Failed;   // when the map does not load
    InputKinds kinds = InputKinds::PlainFiles; // AlsoPipes: a pipe, or "-", as well
    QString name{};  // what messages call the map, when not by its file's name
    QString after{}; // what follows the reader's words in them
};

/** A map that a command read: the map, or the exit status to end with when it did not load. */
struct CommandMap {
    std::optional<GameMap> map;
    ExitStatus status = ExitStatus::Success;
};

/** How a picture goes to its file: replacing the old one whole, or into the file itself. */
enum class PngOutput { Replacing, InPlace };

/**
 * What every command of quintaraz-map works with: its two streams, its maps read as the
 * editor reads them, its messages about files, its JSON line, and the files it writes, each
 * through the safe writer and only where it may.
 */
class ToolContext {
public:
    ToolContext(QTextStream& out, QTextStream& err);

    QTextStream& out() { return out_; }
    QTextStream& err() { return err_; }

    /** Says on standard error what went wrong with a file; gives ExitStatus::Failed. */
    ExitStatus fail(const QString& file, const QString& problem);
    /** The same, for commands whose 1 says something else; gives ExitStatus::Trouble. */
    ExitStatus trouble(const QString& file, const QString& problem);
    /** Says on standard error a warning about a file, which fails nothing. */
    void warn(const QString& file, const QString& warning);

    /**
     * The map of a file, read as the editor reads it. When it does not load, the reader's
     * words are said on standard error and the command is to end with input.failure.
     */
    CommandMap readMap(const QString& file, const MapInput& input = {});
    /** The same for a file read already. */
    CommandMap loadedMap(MapReading reading, const QString& file, const MapInput& input);

    /** A report for programs as one line of JSON. */
    void printJson(const QJsonObject& report);
    /**
     * The reports of the files a command was given as one line of JSON: the one object when
     * it was given one file, the list when several; nothing when no file gave a report.
     */
    void printJson(const QJsonArray& reports, qsizetype files);

    /** Writes the files of one command all or none, each only where it may. */
    ExitStatus writeFiles(QList<PlannedFile> files, const QString& source, bool force);
    /**
     * Writes the map for Tiled, referring to the installed tilesets or with their pictures
     * beside it, all or none; source names the map read, if any.
     */
    ExitStatus writeTiled(const GameMap& map, const QString& source, const QString& output,
                          TiledFormat format, bool force);
    /** Writes a picture as PNG; says why not on standard error when it cannot. */
    bool writePng(const QString& png, const QImage& picture, PngOutput output,
                  PngCompression compression = PngCompression::Small);
    /**
     * Reads a map and writes what draw makes of it as PNG, unless the output may not be
     * written over.
     */
    ExitStatus drawToPng(const QString& map, const QString& png, PngOutput output,
                         const std::function<QImage(const MapPicture&, const GameMap&)>& draw,
                         PngCompression compression = PngCompression::Small);
    /**
     * The map drawn as render draws it, with cells outlined, written to png unless it may
     * not be written over what is there; whether it was written.
     */
    bool writeOutlinedPng(const QString& png, const QString& source, const GameMap& map,
                          const std::vector<GridPoint>& cells);

private:
    QTextStream& out_;
    QTextStream& err_;
};

/** The problem with reading standard input more than once, or nothing. */
QString standardInputTwice(const QStringList& files);

} // namespace quintaraz
