// The map tool's commands for maps kept in version control: grid, diff and merge; see
// maptool.h. They read with the editor's reader and write through the safe writer.

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "maptool/commandparser.h"
#include "maptool/diffreport.h"
#include "maptool/maptool.h"
#include "maptool/mergereport.h"
#include "maptool/outputfiles.h"
#include "render/changeoutline.h"
#include "render/mappicture.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "versions/mapdiff.h"
#include "versions/mapgrid.h"
#include "versions/mapmerge.h"

#include <QFile>

#include <array>
#include <memory>

namespace quintaraz {

namespace {

QCommandLineOption pictureOption(const char* what)
{
    return QCommandLineOption(QStringLiteral("picture"), QString::fromUtf8(what),
                              QStringLiteral("SALIDA.png"));
}

/** The problem with reading standard input more than once, or nothing. */
QString standardInputTwice(const QStringList& files)
{
    if (files.count(QStringLiteral("-")) > 1)
        return QStringLiteral("«-» (la entrada estándar) solo puede ser uno de los archivos");
    return {};
}

/** The cells of a difference that the new map has: changed terrain, and starts' cells. */
std::vector<GridPoint> changedCells(const MapDifference& difference, const GameMap& after)
{
    std::vector<GridPoint> cells;
    for (const CellChange& change : difference.cells)
        if (change.after)
            cells.push_back(change.cell);
    for (const StartChange& change : difference.starts) {
        if (change.from && after.contains(*change.from))
            cells.push_back(*change.from);
        if (change.to)
            cells.push_back(*change.to);
    }
    return cells;
}

/** The cells of a merge's conflicts that its picture frames. */
std::vector<GridPoint> conflictCells(const MapMerge& merged)
{
    std::vector<GridPoint> cells;
    for (const MergeConflict& conflict : merged.conflicts) {
        if (conflict.kind == MergeConflict::Kind::Cell)
            cells.push_back(conflict.cell);
        if (conflict.kind == MergeConflict::Kind::Land && merged.map.contains(conflict.cell))
            cells.push_back(conflict.cell);
        if (conflict.kind == MergeConflict::Kind::Start ||
            conflict.kind == MergeConflict::Kind::Land)
            cells.push_back(conflict.oursAt);
    }
    return cells;
}

} // namespace

bool MapTool::writeOutlinedPng(const QString& png, const QString& source, const GameMap& map,
                               const std::vector<GridPoint>& cells)
{
    if (const QString problem = outputProblem(png, source, OutputKind::Picture); !problem.isEmpty())
        return fail(png, problem), false;
    const TileArt art;
    QImage picture = MapPicture(art).render(map, cellSize);
    outlineCells(picture, cellSize, cells);
    return writePng(png, picture, Output::Replacing);
}

int MapTool::grid(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    if (const std::optional<int> status = parse(line, command, arguments, 1, 1))
        return *status;
    const QString file = line.files().at(0);
    const VersionText shown = versionText(file);
    if (!shown.problem.isEmpty())
        return fail(file, shown.problem);
    out_ << QString::fromUtf8(shown.text);
    return 0;
}

int MapTool::diff(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas."));
    const QCommandLineOption picture = pictureOption(
        "Dibuja el mapa nuevo, como render, con las casillas cambiadas enmarcadas en amarillo.");
    line.addOption(json);
    line.addOption(picture);
    if (const std::optional<int> status = parse(line, command, arguments, 2, 2))
        return *status;
    const QStringList files = line.files();
    if (const QString problem = standardInputTwice(files); !problem.isEmpty())
        return usageError(&command, problem);
    // Both read before either is judged: a pipe is read to its end whatever the other holds.
    const MapInput input{.failure = 2, .kinds = InputKinds::AlsoPipes};
    std::array readings{readMapFile(files.at(0), input.kinds),
                        readMapFile(files.at(1), input.kinds)};
    CommandMap maps[2];
    for (std::size_t k = 0; k < readings.size(); ++k)
        if (maps[k] = loadedMap(std::move(readings[k]), files.at(qsizetype(k)), input);
            !maps[k].map)
            return maps[k].status;
    const GameMap& before = *maps[0].map;
    const GameMap& after = *maps[1].map;
    const MapDifference difference = diffMaps(before, after);
    if (line.isSet(picture) &&
        !writeOutlinedPng(line.value(picture), files.at(1), after, changedCells(difference, after)))
        return 2;
    // How the change moved the balance, which both maps loaded can always say.
    const BalanceFigures was = measureBalance(before);
    const BalanceFigures is = measureBalance(after);
    if (line.isSet(json)) {
        out_ << differenceJson(files.at(0), files.at(1), difference, balanceChangeJson(was, is));
    } else {
        out_ << differenceText(files.at(0), files.at(1), difference);
        if (!difference.same())
            out_ << balanceChangeText(was, is);
    }
    return difference.same() ? 0 : 1;
}

int MapTool::merge(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption picture =
        pictureOption("Dibuja el mapa mezclado con los conflictos enmarcados en amarillo.");
    const QCommandLineOption name(QStringLiteral("name"),
                                  QStringLiteral("El nombre del mapa en los mensajes, en lugar "
                                                 "de los de los tres archivos (git: %P)."),
                                  QStringLiteral("NOMBRE"));
    line.addOption(picture);
    line.addOption(name);
    if (const std::optional<int> status = parse(line, command, arguments, 3, 3))
        return *status;
    const QStringList files = line.files();
    const QString ours = files.at(1);
    if (const QString problem = standardInputTwice(files); !problem.isEmpty())
        return usageError(&command, problem);
    // git hands the driver temporary files: the map's own name says more.
    const QString mapName = line.isSet(name) ? line.value(name) : ours;
    const std::array<const char*, 3> sides{"base", "nuestro", "suyo"};
    const auto said = [&](std::size_t side) {
        return line.isSet(name) ? QStringLiteral("%1 (%2)").arg(mapName, QLatin1String(sides[side]))
                                : files.at(qsizetype(side));
    };
    // Ours is written, so only a plain file; base and theirs may come from anywhere.
    QByteArray baseBytes;
    std::array readings{readMapFile(files.at(0), InputKinds::AlsoPipes, &baseBytes),
                        readMapFile(ours), readMapFile(files.at(2), InputKinds::AlsoPipes)};
    // git hands an empty base when both sides added the map: they share no ancestor.
    const bool withoutBase = readings[0].fileProblem == FileProblem::None && baseBytes.isEmpty();
    CommandMap maps[3];
    for (std::size_t k = withoutBase ? 1 : 0; k < readings.size(); ++k) {
        const MapInput input{
            .failure = 2, .name = said(k), .after = QStringLiteral("; no se mezcla")};
        if (maps[k] = loadedMap(std::move(readings[k]), files.at(qsizetype(k)), input);
            !maps[k].map)
            return maps[k].status;
    }
    const MapMerge merged =
        mergeMaps(withoutBase ? nullptr : &*maps[0].map, *maps[1].map, *maps[2].map);
    const std::optional<QString> picturePath =
        line.isSet(picture) ? std::optional(line.value(picture)) : std::nullopt;
    if (const int status = writeMerge(merged, ours, picturePath); status != 0)
        return status;
    reportMerge(merged, printableName(mapName), withoutBase);
    return merged.conflicts.empty() ? 0 : 1;
}

int MapTool::writeMerge(const MapMerge& merged, const QString& ours,
                        const std::optional<QString>& picture)
{
    const QByteArray text = mapText(merged.map);
    // Never a map that the editor would not open, whatever the inputs were.
    if (readMapText(std::string_view(text.constData(), std::size_t(text.size()))).outcome !=
        LoadOutcome::Loaded)
        return trouble(ours, QStringLiteral("la mezcla no daría un mapa válido; no se escribe"));
    // The picture first, then the map: a merge that cannot be written leaves no new picture.
    const bool newPicture = picture && !QFile::exists(*picture);
    if (picture && !writeOutlinedPng(*picture, ours, merged.map, conflictCells(merged)))
        return 2;
    QString problem;
    if (!writeFileSafely(ours, text, &problem)) {
        if (newPicture)
            QFile::remove(*picture);
        return trouble(ours, problem);
    }
    return 0;
}

void MapTool::reportMerge(const MapMerge& merged, const QString& name, bool withoutBase)
{
    if (withoutBase)
        err_ << "quintaraz-map: " << name
             << ": no hay base común (los dos lados añaden el mapa): cada diferencia es un "
                "conflicto\n";
    if (merged.extraStartsDropped)
        err_ << "quintaraz-map: " << name
             << ": aviso: lo que seguía al octavo comienzo no se guarda en la mezcla\n";
    for (const QString& line : conflictLines(merged))
        err_ << "quintaraz-map: " << name << ": " << line << '\n';
}

} // namespace quintaraz
