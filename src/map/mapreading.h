#pragma once

#include "map/gamemap.h"
#include "system/boundedread.h"

#include <QString>

#include <string>
#include <string_view>

namespace quintaraz {

/** What reading a map file came to. Only Loaded changes a document. */
enum class LoadOutcome {
    Loaded,       // size, every cell and eight starts taken over
    SizeRejected, // the header's width or height lies outside 16..99
    FormatError,  // a cell, or a coordinate of one of the first eight starts, is not a number
    ReadFailure,  // a missing cell, entry or coordinate; a number too large; a coordinate beyond 99
    NotReadable,  // no file, no "<fin>", or no two 16-bit numbers at its head
};

/**
 * The largest file taken for a map. A map of 100 by 100 cells is at most about 70 KB even
 * with the longest numbers; a larger file is not read at all and counts as not readable.
 */
constexpr qint64 largestMapFile = 1024 * 1024;

/** The part of a map file where reading stopped. */
enum class MapPart {
    None,   // nothing stopped it: the map loaded
    File,   // the file itself, see MapReading::fileProblem
    Marker, // there is no "<fin>"
    Width,  // the header's first number
    Height, // the header's second number
    Cell,   // a piece of the cell list
    Entry,  // a start entry
    Column, // the column of a start entry
    Row,    // the row of a start entry
};

/**
 * Files that are plainly something other than a map, each named with what to do. Naming
 * one changes only the reason given for a file that does not load anyway.
 */
enum class OtherFile {
    None,
    ConflictMarkers, // git's line merge wrote "<<<<<<<" and ">>>>>>>" lines into it
    ByteOrderMark,   // it begins with UTF-8's byte-order mark, as some Windows editors write
    LfsPointer,      // the text that Git LFS keeps in place of a file
};

/**
 * A map file as the reader found it: the outcome, unless it loaded where and why reading
 * stopped, and the map as far as it was read.
 */
struct MapReading {
    LoadOutcome outcome = LoadOutcome::NotReadable;

    MapPart part = MapPart::File;
    int index = 0;             // the cell (from 0, row by row) or the start entry (from 0)
    qint64 offset = 0;         // the byte at which that piece begins
    std::string piece;         // that piece, cut short after a few bytes
    bool missingPiece = false; // the text ended where that piece should have been
    FileProblem fileProblem = FileProblem::None;
    int systemError = 0; // errno, when the file cannot be opened or read
    OtherFile otherFile = OtherFile::None;
    // ByteOrderMark: how the text after the mark reads; where it stopped is then in the
    // fields above, counted from the file's first byte.
    LoadOutcome afterMark = LoadOutcome::Loaded;

    GameMap map; // loaded, every start is there
};

/**
 * Reads a map file: at most largestMapFile bytes, never blocking, never mapped; with
 * AlsoPipes, a pipe or standard input ("-") too. bytes, when given, receives what was read:
 * the whole file, or its beginning when it is too large.
 */
MapReading readMapFile(const QString& path, InputKinds kinds = InputKinds::PlainFiles,
                       QByteArray* bytes = nullptr);
/** Reads a map from text in memory. */
MapReading readMapText(std::string_view text);
/** Reads a map from a file read already, as readMapFile does. */
MapReading readMapBytes(const FileBytes& file);

/**
 * Why a map reads as it does, in the editor's words: "correcto", or the outcome, where it
 * arose and what was found there ("archivo corrupto en el byte 37: la casilla de la columna
 * 15, fila 0 es «a», que no es un número"). A file that is plainly something else is
 * named so, with what to do about it, in commands for a shell that name it file (a word
 * for the shell).
 */
QString describeReading(const MapReading& reading, const QString& file = QStringLiteral("ARCHIVO"));

} // namespace quintaraz
