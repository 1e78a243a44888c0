#pragma once

#include "maptool/outputfiles.h"

#include <QList>

namespace quintaraz {

class TileArt;

/**
 * The files that every page of a site of ours refers to, from the site's root: the
 * stylesheet, the script, the icon and the small pictures of the pictures' keys. A gallery
 * writes them beside its pages; so can a review page.
 */
QList<PlannedFile> sharedSiteFiles(const TileArt& art);

} // namespace quintaraz
