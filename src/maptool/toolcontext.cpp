#include "maptool/toolcontext.h"

#include "art/tileart.h"
#include "map/mapreading.h"
#include "render/changeoutline.h"
#include "render/mappicture.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "tiled/tiledwriter.h"

#include <QFileInfo>
#include <QJsonDocument>

namespace quintaraz {

namespace {

void printJsonLine(QTextStream& out, const QJsonDocument& document)
{
    out << document.toJson(QJsonDocument::Compact) << '\n';
}

} // namespace

ToolContext::ToolContext(QTextStream& out, QTextStream& err)
    : out_(out)
    , err_(err)
{
}

ExitStatus ToolContext::fail(const QString& file, const QString& problem)
{
    err_ << "quintaraz-map: " << printableName(file) << ": " << problem << '\n';
    return ExitStatus::Failed;
}

ExitStatus ToolContext::trouble(const QString& file, const QString& problem)
{
    fail(file, problem);
    return ExitStatus::Trouble;
}

void ToolContext::warn(const QString& file, const QString& warning)
{
    err_ << "quintaraz-map: " << printableName(file) << ": aviso: " << warning << '\n';
}

CommandMap ToolContext::readMap(const QString& file, const MapInput& input)
{
    return loadedMap(readMapFile(file, input.kinds), file, input);
}

CommandMap ToolContext::loadedMap(MapReading reading, const QString& file, const MapInput& input)
{
    if (reading.outcome == LoadOutcome::Loaded)
        return {std::move(reading.map)};
    fail(input.name.isEmpty() ? file : input.name, describeReading(reading) + input.after);
    return {std::nullopt, input.failure};
}

void ToolContext::printJson(const QJsonObject& report)
{
    printJsonLine(out_, QJsonDocument(report));
}

void ToolContext::printJson(const QJsonArray& reports, qsizetype files)
{
    if (reports.isEmpty())
        return;
    printJsonLine(out_,
                  files == 1 ? QJsonDocument(reports.first().toObject()) : QJsonDocument(reports));
}

ExitStatus ToolContext::writeFiles(QList<PlannedFile> files, const QString& source, bool force)
{
    for (PlannedFile& file : files)
        if (const QString problem = exportProblem(file, source, force); !problem.isEmpty())
            return fail(file.path, problem);
    QString failed;
    QString problem;
    return writeAllOrNone(files, &failed, &problem) ? ExitStatus::Success : fail(failed, problem);
}

ExitStatus ToolContext::writeTiled(const GameMap& map, const QString& source, const QString& output,
                                   TiledFormat format, bool force)
{
    // The installed tilesets where there are some: nothing is written beside the output, and
    // the map keeps working wherever it goes.
    const QString installed = installedTilesets();
    QString problem;
    const QByteArray text = tiledText(map, format, &problem, installed);
    if (text.isEmpty())
        return fail(source, problem);
    QList<PlannedFile> files{{output, text}};
    if (installed.isEmpty()) {
        // Tiled finds the tilesets' pictures beside the map, by these names.
        const QString folder = QFileInfo(output).path();
        const auto beside = [&](const char* name) {
            return folder == u'.' ? QString::fromLatin1(name) : folder + u'/' + QLatin1String(name);
        };
        files.prepend({beside(tiled::playerImage), TileArt::playerTilesetPng()});
        files.prepend({beside(tiled::terrainImage), TileArt::terrainTilesetPng()});
    }
    return writeFiles(files, source, force);
}

bool ToolContext::writePng(const QString& png, const QImage& picture, PngOutput output,
                           PngCompression compression)
{
    const QByteArray bytes = encodePng(picture, compression);
    if (bytes.isEmpty())
        return fail(png, QStringLiteral("no hay memoria para el dibujo")), false;
    QString problem;
    const bool written = output == PngOutput::InPlace ? writeFileInPlace(png, bytes, &problem)
                                                      : writeFileSafely(png, bytes, &problem);
    if (!written)
        fail(png, problem);
    return written;
}

ExitStatus
ToolContext::drawToPng(const QString& map, const QString& png, PngOutput output,
                       const std::function<QImage(const MapPicture&, const GameMap&)>& draw,
                       PngCompression compression)
{
    if (const QString problem = outputProblem(png, map, OutputKind::Picture); !problem.isEmpty())
        return fail(png, problem);
    const CommandMap read = readMap(map);
    if (!read.map)
        return read.status;
    const TileArt art;
    return writePng(png, draw(MapPicture(art), *read.map), output, compression)
               ? ExitStatus::Success
               : ExitStatus::Failed;
}

bool ToolContext::writeOutlinedPng(const QString& png, const QString& source, const GameMap& map,
                                   const std::vector<GridPoint>& cells)
{
    if (const QString problem = outputProblem(png, source, OutputKind::Picture); !problem.isEmpty())
        return fail(png, problem), false;
    const TileArt art;
    QImage picture = MapPicture(art).render(map, cellSize);
    outlineCells(picture, cellSize, cells);
    return writePng(png, picture, PngOutput::Replacing);
}

QString standardInputTwice(const QStringList& files)
{
    if (files.count(QStringLiteral("-")) > 1)
        return QStringLiteral("«-» (la entrada estándar) solo puede ser uno de los archivos");
    return {};
}

} // namespace quintaraz
