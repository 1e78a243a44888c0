#pragma once

#include <QJsonObject>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace quintaraz {

/** A file of a site, from its root, and its size when it was written. */
struct SiteFile {
    QString path;
    qint64 size = 0;

    friend bool operator==(const SiteFile&, const SiteFile&) = default;
};

/**
 * What the index of a gallery says of one file: a map's size and figures, the site's files of
 * its page, and what they were made from; or why the file is not a map.
 */
struct MapSummary {
    QString name;    // as the pages show it: the path given, control characters escaped
    QString slug;    // the page's own name in the site: never the map's name
    QString digest;  // of what the page was made from: the file, the options, the version
    QString problem; // why the file is not a map; empty for a map
    int columns = 0;
    int rows = 0;
    int verdict = 0; // a BalanceVerdict
    QString weakest; // the measure of least ratio, in words
    double ratio = 1;
    QSize previewSize;
    QStringList symmetries; // the exact ones
    QString reason;         // the verdict's
    QList<SiteFile> files;

    bool isMap() const { return problem.isEmpty(); }
    /** The page's file, from the site's root. */
    QString page() const { return QStringLiteral("mapas/%1.html").arg(slug); }
    QString preview() const { return QStringLiteral("mapas/%1-previa.png").arg(slug); }

    friend bool operator==(const MapSummary&, const MapSummary&) = default;
};

/** A map's summary as the gallery's own file keeps it. */
QJsonObject summaryJson(const MapSummary& summary);

/**
 * A summary from the gallery's own file; nothing for anything that file never holds, such as
 * a file of the site outside mapas/ or a name that is not a slug.
 */
std::optional<MapSummary> summaryFromJson(const QJsonObject& json);

} // namespace quintaraz
