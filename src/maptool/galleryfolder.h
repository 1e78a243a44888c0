#pragma once

#include "maptool/mapsummary.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quintaraz {

/**
 * A gallery's folder, as a run finds it. The gallery's own file, at the folder's root, says
 * that the folder is a gallery's (no folder a person made is ever taken for one without
 * --force) and what each of its pages was made from, so that a later run draws only the
 * maps that changed and removes only the pages it made.
 */
struct GalleryFolder {
    enum class State {
        Absent,  // nothing there yet: the run makes the folder
        Empty,   // a folder with nothing in it: nothing in it can be lost
        Gallery, // a gallery's folder, its file read
        Foreign, // a folder that holds other things and no gallery's file
        Broken,  // a gallery's file that no gallery wrote (cut short, edited, not ours)
        NotAFolder,
    };
    State state = State::Absent;
    QList<MapSummary> maps; // of a gallery: the maps of its last run
    QString problem;        // why it is not a gallery's folder, in Spanish
};

/** The gallery's own file in its folder. */
inline constexpr char galleryFileName[] = "quintaraz-galeria.json";

/** What the folder is, and the maps of the gallery in it. */
GalleryFolder inspectGalleryFolder(const QString& folder);

/** The gallery's own file for the maps of a run, made by the tool of that version. */
QByteArray galleryFileBytes(const QList<MapSummary>& maps, const QString& version);

} // namespace quintaraz
