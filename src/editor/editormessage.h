#pragma once

#include <QString>

namespace quintaraz {

struct MapReading;

/** What the editor tells its user, each in a message box of its own. */
enum class EditorMessage {
    NotAMapToOpen,   // the file chosen to open does not end in .map
    FileCorrupt,     // the file holds what is not a map
    FileNotReadable, // the file cannot be read, or holds nothing
    SizeRejected,    // the map's size lies outside what the editor opens
    ReadFailed,      // a part of the map is missing, or a number is out of range
    StartsMissing,   // a map is saved only with every player's start
    NotAMapToSave,   // the name chosen to save to does not end in .map
    SaveFailed,      // the disk, the folder or the name kept the map from being written
    Saved,
};

/** A message as its box shows it: the title, the text, and whether it tells of an error. */
struct MessageWords {
    QString title;
    QString text;
    bool error = true;
};

/** The one table of the editor's messages in Spanish. */
MessageWords messageWords(EditorMessage message);

/**
 * Why the map at path did not open, as the detail of its message: the reader's reason, and
 * for a file that is plainly something else what to do, with commands that name the file.
 */
QString openFailureDetail(const MapReading& reading, const QString& path);

} // namespace quintaraz
