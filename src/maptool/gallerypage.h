#pragma once

#include "maptool/mapsummary.h"
#include "maptool/outputfiles.h"
#include "maptool/pagepictures.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quintaraz {

class TileArt;
struct BalanceFigures;
struct GameMap;

/** What a gallery's page of one map is made from. */
struct MapPageSource {
    QString file;                 // as the gallery was given it
    QString slug;                 // the page's own name in the site
    QString digest;               // of all of this
    QByteArray bytes;             // the file, as read
    QString title;                // the gallery's
    QStringList verdictArguments; // balance's options that give the same figures
};

/** The site's files of a map's page, and what the index says of the map. */
struct MapPage {
    QList<PlannedFile> files;
    MapSummary summary;
    PagePictures pictures; // the two large ones still being encoded

    /**
     * Waits for the large pictures and adds them to the files, and every file to the
     * summary; false when they could not be encoded (no memory).
     */
    bool finish();
};

/**
 * A map's page: its name, verdict and reason; the map as render draws it and its balance as
 * balance --picture draws it, each with its key and the players' numbers over their markers;
 * the tables of players, measures and symmetries; the .map file itself; and the commands
 * that give the same pictures and figures. Its files are mapas/SLUG.html, SLUG.map and
 * SLUG-mapa.png, SLUG-equilibrio.png and SLUG-previa.png (the index's preview); the first two
 * are added by finish(). Nothing when there is no memory for the pictures.
 */
std::optional<MapPage> buildMapPage(const MapPageSource& source, const GameMap& map,
                                    const BalanceFigures& figures, const TileArt& art);

} // namespace quintaraz
