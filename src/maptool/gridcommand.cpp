// grid: a map as text for git (textconv), one line a row.

#include "map/mapreading.h"
#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "versions/mapgrid.h"

namespace quintaraz {

namespace {

ExitStatus grid(ToolContext& tool, CommandParser& line)
{
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const QString file = line.files().at(0);
    QByteArray bytes;
    const MapReading reading = readMapFile(file, InputKinds::AlsoPipes, &bytes);
    if (reading.outcome == LoadOutcome::Loaded) {
        tool.out() << QString::fromUtf8(gridText(reading.map));
        return ExitStatus::Success;
    }
    // git shows every version of a file through this text, and stops at one that gives none:
    // a file that is no map is said to be none, and the command ends well. Only what is no
    // file to read at all is a failure.
    const bool whole = reading.fileProblem == FileProblem::None;
    if (!whole && reading.fileProblem != FileProblem::TooLarge)
        return tool.fail(file, describeReading(reading));
    tool.out() << QString::fromUtf8(notAMapText(describeReading(reading), bytes, whole));
    return ExitStatus::Success;
}

} // namespace

extern const CommandEntry gridCommand{
    "grid",
    "ARCHIVO",
    "El mapa como texto para git, una línea por fila.",
    "El mapa como texto para git (textconv): el tamaño, una línea por fila con un carácter "
    "por casilla (el número de su terreno) y el comienzo de cada jugador, uno por línea. De un "
    "archivo que no es un mapa dice por qué y muestra sus primeros bytes, y sale con 0 para "
    "que git muestre todas las versiones. ARCHIVO puede ser una tubería, o «-» para la "
    "entrada estándar.",
    1,
    1,
    &grid};

} // namespace quintaraz
