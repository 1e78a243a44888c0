#pragma once

#include "balance/balancefigures.h"
#include "maptool/mapsummary.h"
#include "maptool/outputfiles.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quintaraz {

class TileArt;

/** How a gallery is made: the verdict's settings, the options that gave them, its title. */
struct GallerySettings {
    BalanceSettings balance;
    QStringList verdictArguments; // balance's options that give the same settings
    QString title = QStringLiteral("Galería de mapas");
    bool force = false; // take a folder that is no gallery's, or a broken gallery's
    QString version;    // the tool's: a new one makes every page anew
};

/** What a run did to its site. */
struct GalleryRun {
    bool written = false; // every file of the site as the run made it
    QString failedFile;   // when not: the file or folder that failed, and why
    QString problem;
    QList<MapSummary> files; // every file shown, in order: maps and files that are no maps
    QStringList drawn;       // the maps whose pages were made anew, by name
    QStringList removed;     // the site's files that the run removed
    int notMaps() const;
};

/**
 * A static site of a collection of maps in a folder of its own: an index and a page for each
 * map, with relative links only (see galleryIndex and buildMapPage). Each map is read,
 * measured and drawn once. The folder is the gallery's: one that holds other things is not
 * taken without force. Another run into the same folder makes again only the pages of maps
 * whose file, name, options or tool version changed, and removes the pages of maps that are
 * gone, and nothing else. Every file is written through the safe writer, all or none: on
 * failure the site stays as it was.
 */
class GallerySite {
public:
    GallerySite(const QString& folder, const GallerySettings& settings);

    /** Makes the site of files; progress hears of each file done, and of how many there are. */
    GalleryRun build(const QStringList& files,
                     const std::function<void(int done, int total)>& progress = {});

private:
    /** What a map's page is made from, hashed: a page is made anew when this changes. */
    QString digestOf(const QString& file, const QByteArray& bytes) const;
    /**
     * Reads every file, and draws the pages of the maps that are new or changed since the
     * last run's maps; false, with run's problem, when a page could not be drawn.
     */
    bool drawPages(const QStringList& files, const QList<MapSummary>& before, const TileArt& art,
                   const std::function<void(int, int)>& progress, GalleryRun& run,
                   QList<PlannedFile>& planned) const;
    /** Writes the files, all or none, making the folders that are missing; whether it did. */
    bool write(QList<PlannedFile>& planned, GalleryRun& run) const;
    /** Makes the folders that are missing; false, with run's problem, when it cannot. */
    bool makeFolders(GalleryRun& run, QStringList& made) const;
    /** Removes the files of the last run's pages that this run's maps have no more. */
    void removeGone(const QList<MapSummary>& before, const QList<MapSummary>& now,
                    GalleryRun& run) const;

    QString folder_;
    GallerySettings settings_;
};

/** The page's own name of a map file: from its name, in plain letters, and a hash of its path. */
QString gallerySlug(const QString& file);

} // namespace quintaraz
