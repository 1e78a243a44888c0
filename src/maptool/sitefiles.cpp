#include "maptool/sitefiles.h"

#include "art/tileart.h"
#include "maptool/htmlwriter.h"
#include "maptool/picturekey.h"

#include <QFile>

// Resources of a static library are registered by name, outside any namespace.
static void registerSiteFiles()
{
    Q_INIT_RESOURCE(gallery);
}

namespace quintaraz {

QList<PlannedFile> sharedSiteFiles(const TileArt& art)
{
    registerSiteFiles();
    QList<PlannedFile> files;
    for (const char* name : {HtmlWriter::stylesheet, HtmlWriter::script}) {
        QFile file(QStringLiteral(":/gallery/") + QLatin1String(name));
        file.open(QIODevice::ReadOnly);
        files.append({QLatin1String(name), file.readAll()});
    }
    files.append({QLatin1String(HtmlWriter::icon), encodePng(art.icon())});
    return files + picturekey::pictures(art);
}

} // namespace quintaraz
