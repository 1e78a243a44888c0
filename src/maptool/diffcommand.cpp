// diff: what changes from one map to another, and how the change moves the balance.

#include "balance/balancefigures.h"
#include "map/mapreading.h"
#include "maptool/balanceoptions.h"
#include "maptool/commandparser.h"
#include "maptool/diffreport.h"
#include "maptool/toolcontext.h"
#include "versions/mapdiff.h"

#include <array>

namespace quintaraz {

namespace {

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

ExitStatus diff(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption json =
        line.flag(QStringLiteral("json"), QStringLiteral("Lo mismo en JSON, para programas."));
    const QCommandLineOption picture =
        line.option(QStringLiteral("picture"),
                    QStringLiteral("Dibuja el mapa nuevo, como render, con las casillas cambiadas "
                                   "enmarcadas en amarillo."),
                    QStringLiteral("SALIDA.png"));
    const BalanceOptions balance(line);
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const std::optional<BalanceSettings> settings = balance.read();
    if (!settings)
        return ExitStatus::Usage;
    const QStringList files = line.files();
    if (const QString problem = standardInputTwice(files); !problem.isEmpty())
        return line.usageError(problem);
    // Both read before either is judged: a pipe is read to its end whatever the other holds.
    const MapInput input{.failure = ExitStatus::Trouble, .kinds = InputKinds::AlsoPipes};
    std::array readings{readMapFile(files.at(0), input.kinds),
                        readMapFile(files.at(1), input.kinds)};
    CommandMap maps[2];
    for (std::size_t k = 0; k < readings.size(); ++k)
        if (maps[k] = tool.loadedMap(std::move(readings[k]), files.at(qsizetype(k)), input);
            !maps[k].map)
            return maps[k].status;
    const GameMap& before = *maps[0].map;
    const GameMap& after = *maps[1].map;
    const MapDifference difference = diffMaps(before, after);
    if (line.isSet(picture) && !tool.writeOutlinedPng(line.value(picture), files.at(1), after,
                                                      changedCells(difference, after)))
        return ExitStatus::Trouble;
    // How the change moved the balance, which both maps loaded can always say.
    const BalanceFigures was = measureBalance(before, *settings);
    const BalanceFigures is = measureBalance(after, *settings);
    if (line.isSet(json)) {
        tool.printJson(
            differenceJson(files.at(0), files.at(1), difference, balanceChangeJson(was, is)));
    } else {
        tool.out() << differenceText(files.at(0), files.at(1), difference);
        if (!difference.same())
            tool.out() << balanceChangeText(was, is);
    }
    return difference.same() ? ExitStatus::Success : ExitStatus::Different;
}

} // namespace

extern const CommandEntry diffCommand{
    "diff",
    "VIEJO NUEVO",
    "Dice qué cambia de un mapa a otro, y cómo cambia el equilibrio.",
    "Dice qué cambia de un mapa a otro: el tamaño, las casillas cambiadas en rectángulos con "
    "su terreno antes y después, y el comienzo de cada jugador que se mueve (el orden de los "
    "comienzos en el archivo es el jugador). VIEJO y NUEVO pueden ser tuberías, y uno de "
    "ellos «-», la entrada estándar. Sale con 0 si es el mismo mapa, con 1 si no, con 2 si "
    "un archivo no se puede leer. Dice también cómo cambia el equilibrio, juzgado con "
    "--radius, --threshold y --blocking como lo juzga balance.",
    2,
    2,
    &diff};

} // namespace quintaraz
