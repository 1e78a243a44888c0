#include "maptool/galleryfolder.h"

#include "system/boundedread.h"
#include "system/filenames.h"
#include "system/systemerror.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace quintaraz {

namespace {

/** What the gallery's file says it is. */
constexpr char galleryFormat[] = "quintaraz-map gallery 1";

/** A gallery's file of 10,000 maps is some 5 MB. */
constexpr qint64 largestGalleryFile = 32 * 1024 * 1024;

/** Whether a folder holds anything; errno is set when it cannot be read. */
bool holdsAnything(const QString& folder, bool* readable)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(fileNameBytes(folder).constData()),
                                                      ::closedir);
    *readable = listing != nullptr;
    if (!listing)
        return false;
    while (const dirent* entry = ::readdir(listing.get()))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            return true;
    return false;
}

GalleryFolder broken(const QString& why)
{
    return {GalleryFolder::State::Broken,
            {},
            QStringLiteral("tiene un %1 que no es de una galería (%2); no se toca sin --force")
                .arg(QLatin1String(galleryFileName), why)};
}

} // namespace

GalleryFolder inspectGalleryFolder(const QString& folder)
{
    struct stat status {};
    if (::stat(fileNameBytes(folder).constData(), &status) != 0)
        return {errno == ENOENT ? GalleryFolder::State::Absent : GalleryFolder::State::NotAFolder,
                {},
                errno == ENOENT ? QString() : systemErrorText(errno)};
    if (!S_ISDIR(status.st_mode))
        return {GalleryFolder::State::NotAFolder,
                {},
                QStringLiteral("existe y no es una carpeta; no se toca")};
    const QString marker = folder + u'/' + QLatin1String(galleryFileName);
    const FileBytes read = readFileAtMost(marker, largestGalleryFile);
    if (read.problem == FileProblem::CannotOpen && read.systemError == ENOENT) {
        bool readable = false;
        if (!holdsAnything(folder, &readable) && readable)
            return {GalleryFolder::State::Empty, {}, {}};
        return {GalleryFolder::State::Foreign,
                {},
                QStringLiteral("ya existe y no es una carpeta hecha por gallery (no tiene %1); no "
                               "se toca sin --force")
                    .arg(QLatin1String(galleryFileName))};
    }
    if (read.problem != FileProblem::None)
        return broken(fileProblemText(read.problem, read.systemError, largestGalleryFile,
                                      QStringLiteral("ninguna galería")));
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(read.bytes, &error).object();
    if (error.error != QJsonParseError::NoError ||
        json.value(QStringLiteral("formato")).toString() != QLatin1String(galleryFormat))
        return broken(QStringLiteral("no dice «%1»").arg(QLatin1String(galleryFormat)));
    GalleryFolder gallery{GalleryFolder::State::Gallery, {}, {}};
    for (const QJsonValue& value : json.value(QStringLiteral("mapas")).toArray()) {
        const std::optional<MapSummary> map = summaryFromJson(value.toObject());
        if (!map)
            return broken(QStringLiteral("un mapa sin página, resumen o archivos válidos"));
        gallery.maps << *map;
    }
    return gallery;
}

QByteArray galleryFileBytes(const QList<MapSummary>& maps, const QString& version)
{
    QJsonArray entries;
    for (const MapSummary& map : maps)
        entries.append(summaryJson(map));
    return QJsonDocument(QJsonObject{{QStringLiteral("formato"), QLatin1String(galleryFormat)},
                                     {QStringLiteral("version"), version},
                                     {QStringLiteral("mapas"), entries}})
        .toJson(QJsonDocument::Indented);
}

} // namespace quintaraz
