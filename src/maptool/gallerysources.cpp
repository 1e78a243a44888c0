#include "maptool/gallerysources.h"

#include "map/mapfilename.h"
#include "maptool/galleryfolder.h"
#include "system/filenames.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace quintaraz {

namespace {

bool isFolder(const QString& path, bool followLink)
{
    struct stat status {};
    const QByteArray name = fileNameBytes(path);
    const int result =
        followLink ? ::stat(name.constData(), &status) : ::lstat(name.constData(), &status);
    return result == 0 && S_ISDIR(status.st_mode);
}

/** The maps in a folder and in its folders, by the bytes of their names; none in a gallery. */
void addMaps(const QString& folder, QStringList& files)
{
    struct stat marker {};
    if (::stat(fileNameBytes(folder + u'/' + QLatin1String(galleryFileName)).constData(),
               &marker) == 0)
        return;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(fileNameBytes(folder).constData()),
                                                      ::closedir);
    if (!listing) {
        files << folder; // listed with the reader's reason, never left out in silence
        return;
    }
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(listing.get()))
        if (entry->d_name[0] != '.')
            names << QByteArray(entry->d_name);
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        const QString path =
            (folder.endsWith(u'/') ? folder : folder + u'/') + fileNameFromBytes(name);
        if (isFolder(path, false))
            addMaps(path, files);
        else if (hasMapExtension(fileNameFromBytes(name)) && !isFolder(path, true))
            files << path;
    }
}

} // namespace

QStringList gallerySources(const QStringList& arguments)
{
    QStringList found;
    for (const QString& argument : arguments) {
        if (isFolder(argument, true))
            addMaps(argument, found);
        else
            found << argument;
    }
    QStringList files;
    QSet<QString> seen;
    for (const QString& file : found)
        if (!seen.contains(QDir::cleanPath(file))) {
            seen.insert(QDir::cleanPath(file));
            files << file;
        }
    return files;
}

} // namespace quintaraz
