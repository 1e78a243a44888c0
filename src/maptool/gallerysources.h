#pragma once

#include <QStringList>

namespace quintaraz {

/**
 * The files a gallery shows, from its command line's arguments in their order: a file as it
 * is named, whatever it is (one that is no map is listed as such); a folder as every file in
 * it and in its folders whose name ends in .map, in the order of their names' bytes. Names
 * keep their bytes (a name that is not UTF-8 still names its file); hidden files and
 * folders, and links to folders, are passed over; a file named twice is shown once. A
 * gallery's folder (this one's or another's) is passed over too: its copies of the maps are
 * no maps of the collection.
 */
QStringList gallerySources(const QStringList& arguments);

} // namespace quintaraz
