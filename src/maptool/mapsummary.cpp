#include "maptool/mapsummary.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace quintaraz {

namespace {

/** The slugs and site files a gallery makes: nothing else is taken from its file. */
const QRegularExpression slugPattern(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
const QRegularExpression filePattern(QStringLiteral("^mapas/[a-z0-9-]+\\.(html|png|map)$"));
const QRegularExpression digestPattern(QStringLiteral("^[0-9a-f]{64}$"));

} // namespace

QJsonObject summaryJson(const MapSummary& summary)
{
    QJsonArray files;
    for (const SiteFile& file : summary.files)
        files.append(
            QJsonObject{{QStringLiteral("ruta"), file.path}, {QStringLiteral("bytes"), file.size}});
    return QJsonObject{
        {QStringLiteral("nombre"), summary.name},
        {QStringLiteral("pagina"), summary.slug},
        {QStringLiteral("resumen"), summary.digest},
        {QStringLiteral("columnas"), summary.columns},
        {QStringLiteral("filas"), summary.rows},
        {QStringLiteral("veredicto"), summary.verdict},
        {QStringLiteral("medida"), summary.weakest},
        {QStringLiteral("razon"), summary.ratio},
        {QStringLiteral("previa"),
         QJsonArray{summary.previewSize.width(), summary.previewSize.height()}},
        {QStringLiteral("simetrias"), QJsonArray::fromStringList(summary.symmetries)},
        {QStringLiteral("motivo"), summary.reason},
        {QStringLiteral("archivos"), files}};
}

std::optional<MapSummary> summaryFromJson(const QJsonObject& json)
{
    MapSummary summary;
    summary.name = json.value(QStringLiteral("nombre")).toString();
    summary.slug = json.value(QStringLiteral("pagina")).toString();
    summary.digest = json.value(QStringLiteral("resumen")).toString();
    summary.columns = json.value(QStringLiteral("columnas")).toInt(-1);
    summary.rows = json.value(QStringLiteral("filas")).toInt(-1);
    summary.verdict = json.value(QStringLiteral("veredicto")).toInt(-1);
    summary.weakest = json.value(QStringLiteral("medida")).toString();
    summary.ratio = json.value(QStringLiteral("razon")).toDouble(-1);
    summary.reason = json.value(QStringLiteral("motivo")).toString();
    const QJsonArray preview = json.value(QStringLiteral("previa")).toArray();
    summary.previewSize = QSize(preview.at(0).toInt(-1), preview.at(1).toInt(-1));
    for (const QJsonValue& symmetry : json.value(QStringLiteral("simetrias")).toArray())
        summary.symmetries << symmetry.toString();
    if (summary.name.isEmpty() || !slugPattern.match(summary.slug).hasMatch() ||
        !digestPattern.match(summary.digest).hasMatch() || summary.columns < 1 ||
        summary.rows < 1 || summary.previewSize.width() < 1 || summary.previewSize.height() < 1 ||
        summary.verdict < 0 || summary.verdict > 2 || summary.ratio < 0)
        return std::nullopt;
    for (const QJsonValue& value : json.value(QStringLiteral("archivos")).toArray()) {
        const QJsonObject file = value.toObject();
        const SiteFile read{file.value(QStringLiteral("ruta")).toString(),
                            qint64(file.value(QStringLiteral("bytes")).toDouble(-1))};
        if (!filePattern.match(read.path).hasMatch() || read.size < 0)
            return std::nullopt;
        summary.files << read;
    }
    return summary;
}

} // namespace quintaraz
