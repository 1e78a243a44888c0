#include "maptool/gallerysite.h"

#include "art/tileart.h"
#include "map/mapreading.h"
#include "maptool/galleryfolder.h"
#include "maptool/galleryindex.h"
#include "maptool/gallerypage.h"
#include "maptool/outputfiles.h"
#include "maptool/sitefiles.h"
#include "system/filenames.h"
#include "system/systemerror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintaraz {

namespace {

/** The longest part of a slug that comes from the map's name. */
constexpr int slugWords = 40;

/** Whether the site's files of a page are all there, as the last run wrote them. */
bool whole(const QString& folder, const MapSummary& map)
{
    for (const SiteFile& file : map.files) {
        struct stat status {};
        if (::stat(fileNameBytes(folder + u'/' + file.path).constData(), &status) != 0 ||
            !S_ISREG(status.st_mode) || status.st_size != file.size)
            return false;
    }
    return !map.files.isEmpty();
}

/**
 * The safe writer holds every file of a run open until all are written: the process may
 * need more descriptors than it may open by default (1,024 on Debian) for a large gallery.
 */
bool allowOpenFiles(qsizetype count)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return true; // the writer says so if it comes to that
    const rlim_t needed = rlim_t(count) + 64;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        limit.rlim_cur =
            limit.rlim_max == RLIM_INFINITY ? needed : std::min(limit.rlim_max, needed);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    return limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed;
}

QString settingsKey(const BalanceSettings& settings)
{
    QString blocking;
    for (int t = 0; t < terrainCount; ++t)
        blocking += settings.blocking[std::size_t(t)] ? u'1' : u'0';
    return QStringLiteral("%1 %2 %3")
        .arg(settings.radius)
        .arg(settings.threshold, 0, 'g', 17)
        .arg(blocking);
}

} // namespace

QString gallerySlug(const QString& file)
{
    // Letters without their accents ("montaña" is "montana"), digits, and a dash for the rest.
    const QString title =
        QFileInfo(file).completeBaseName().normalized(QString::NormalizationForm_D);
    QString words;
    for (const QChar character : title) {
        if (words.size() >= slugWords)
            break;
        const char16_t unit = character.toLower().unicode();
        if ((unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9'))
            words += QChar(unit);
        else if (character.category() != QChar::Mark_NonSpacing && !words.endsWith(u'-'))
            words += u'-';
    }
    while (words.startsWith(u'-'))
        words.remove(0, 1);
    while (words.endsWith(u'-'))
        words.chop(1);
    // Two maps of one name in two folders get pages of their own.
    const QByteArray hash =
        QCryptographicHash::hash(fileNameBytes(QDir::cleanPath(file)), QCryptographicHash::Sha256)
            .toHex()
            .left(10);
    return (words.isEmpty() ? QStringLiteral("mapa") : words) + u'-' + QString::fromLatin1(hash);
}

int GalleryRun::notMaps() const
{
    return int(std::count_if(files.begin(), files.end(),
                             [](const MapSummary& file) { return !file.isMap(); }));
}

GallerySite::GallerySite(const QString& folder, const GallerySettings& settings)
    : folder_(folder)
    , settings_(settings)
{
}

QString GallerySite::digestOf(const QString& file, const QByteArray& bytes) const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray& part :
         {QByteArrayLiteral("quintaraz-map gallery 1"), settings_.version.toUtf8(),
          settingsKey(settings_.balance).toUtf8(), settings_.verdictArguments.join(u' ').toUtf8(),
          settings_.title.toUtf8(), fileNameBytes(file)}) {
        hash.addData(part);
        hash.addData(QByteArrayView("\0", 1));
    }
    hash.addData(bytes);
    return QString::fromLatin1(hash.result().toHex());
}

bool GallerySite::makeFolders(GalleryRun& run, QStringList& made) const
{
    // The folder and those above it that are missing, then the site's own.
    QStringList missing;
    for (QString path = QDir::cleanPath(folder_); !path.isEmpty() && path != u'/' && path != u'.';
         path = QFileInfo(path).path()) {
        struct stat status {};
        if (::stat(fileNameBytes(path).constData(), &status) == 0)
            break;
        missing.prepend(path);
    }
    missing << folder_ + QStringLiteral("/mapas") << folder_ + QStringLiteral("/clave");
    for (const QString& path : missing) {
        if (::mkdir(fileNameBytes(path).constData(), 0777) == 0) {
            made.prepend(path);
            continue;
        }
        struct stat status {};
        if (errno == EEXIST && ::stat(fileNameBytes(path).constData(), &status) == 0 &&
            S_ISDIR(status.st_mode))
            continue;
        run.failedFile = path;
        run.problem =
            errno == EEXIST ? QStringLiteral("existe y no es una carpeta") : systemErrorText(errno);
        return false;
    }
    return true;
}

GalleryRun GallerySite::build(const QStringList& files,
                              const std::function<void(int, int)>& progress)
{
    GalleryRun run;
    const GalleryFolder existing = inspectGalleryFolder(folder_);
    using State = GalleryFolder::State;
    if (existing.state == State::NotAFolder ||
        ((existing.state == State::Foreign || existing.state == State::Broken) &&
         !settings_.force)) {
        run.failedFile = folder_;
        run.problem = existing.problem;
        return run;
    }
    const TileArt art;
    QList<PlannedFile> planned;
    if (!drawPages(files, existing.maps, art, progress, run, planned))
        return run;
    planned += sharedSiteFiles(art);
    planned.append({QStringLiteral("index.html"), galleryIndex(settings_.title, run.files)});
    QList<MapSummary> maps;
    for (const MapSummary& file : run.files)
        if (file.isMap())
            maps << file;
    // The gallery's own file last: a run that fails before it leaves the last one's.
    planned.append({QLatin1String(galleryFileName), galleryFileBytes(maps, settings_.version)});
    if (write(planned, run))
        removeGone(existing.maps, maps, run);
    return run;
}

bool GallerySite::drawPages(const QStringList& files, const QList<MapSummary>& before,
                            const TileArt& art, const std::function<void(int, int)>& progress,
                            GalleryRun& run, QList<PlannedFile>& planned) const
{
    QHash<QString, MapSummary> made;
    for (const MapSummary& map : before)
        made.insert(map.slug, map);
    QSet<QString> slugs;
    // The page of the map before, its pictures still being encoded while the next is drawn.
    std::optional<MapPage> encoding;
    qsizetype encodingRow = 0; // its row in run.files
    const auto finished = [&]() {
        if (!encoding)
            return true;
        const bool encoded = encoding->finish();
        if (!encoded) {
            run.failedFile = encoding->summary.name;
            run.problem = QStringLiteral("no hay memoria para sus dibujos");
        }
        planned += encoding->files;
        run.files[encodingRow] = encoding->summary;
        encoding.reset();
        return encoded;
    };
    for (qsizetype k = 0; k < files.size(); ++k) {
        const QString& file = files[k];
        QByteArray bytes;
        MapReading reading = readMapFile(file, InputKinds::PlainFiles, &bytes);
        MapSummary summary;
        summary.name = printableName(file);
        if (reading.outcome != LoadOutcome::Loaded) {
            summary.problem = describeReading(reading);
            run.files << summary;
        } else {
            MapPageSource source{file,  gallerySlug(file), digestOf(file, bytes),
                                 bytes, settings_.title,   settings_.verdictArguments};
            // Two names of one path, "a.map" and "./a.map", are one page.
            if (slugs.contains(source.slug))
                continue;
            slugs.insert(source.slug);
            const MapSummary old = made.value(source.slug);
            if (old.digest == source.digest && whole(folder_, old)) {
                run.files << old;
            } else {
                const BalanceFigures figures = measureBalance(reading.map, settings_.balance);
                std::optional<MapPage> page = buildMapPage(source, reading.map, figures, art);
                if (!page) {
                    run.failedFile = summary.name;
                    run.problem = QStringLiteral("no hay memoria para sus dibujos");
                    return false;
                }
                if (!finished())
                    return false;
                encodingRow = run.files.size();
                run.files << page->summary;
                run.drawn << summary.name;
                encoding = std::move(page);
            }
        }
        if (progress)
            progress(int(k + 1), int(files.size()));
    }
    return finished();
}

bool GallerySite::write(QList<PlannedFile>& planned, GalleryRun& run) const
{
    QStringList madeFolders;
    if (!makeFolders(run, madeFolders))
        return false;
    for (PlannedFile& file : planned) {
        file.path = folder_ + u'/' + file.path;
        if (const QString problem = exportProblem(file, QString(), true); !problem.isEmpty()) {
            run.failedFile = file.path;
            run.problem = problem;
            return false;
        }
    }
    const qsizetype writing = std::count_if(planned.begin(), planned.end(),
                                            [](const PlannedFile& f) { return !f.unchanged; });
    if (!allowOpenFiles(writing)) {
        run.failedFile = folder_;
        run.problem = QStringLiteral("serían %1 archivos abiertos a la vez, más de los que el "
                                     "sistema deja abrir (ulimit -n)")
                          .arg(writing);
    } else if (writeAllOrNone(planned, &run.failedFile, &run.problem)) {
        run.written = true;
        return true;
    }
    // A folder this run made, and nothing was written in: as it was before.
    for (const QString& path : madeFolders)
        ::rmdir(fileNameBytes(path).constData());
    return false;
}

void GallerySite::removeGone(const QList<MapSummary>& before, const QList<MapSummary>& now,
                             GalleryRun& run) const
{
    QSet<QString> kept;
    for (const MapSummary& map : now)
        for (const SiteFile& file : map.files)
            kept.insert(file.path);
    for (const MapSummary& map : before)
        for (const SiteFile& file : map.files) {
            if (kept.contains(file.path))
                continue;
            const QString path = folder_ + u'/' + file.path;
            if (::unlink(fileNameBytes(path).constData()) == 0 || errno == ENOENT) {
                run.removed << file.path;
            } else {
                run.written = false;
                run.failedFile = path;
                run.problem = QStringLiteral("no se puede quitar: ") + systemErrorText(errno);
            }
        }
}

} // namespace quintaraz
