// grid: a map as text for git (textconv), one line a row.

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
    // A file that is no map is said to be none, and the command ends well: git stops at a
    // version that gives no text. Only what is no file to read at all is a failure.
    const VersionText shown = versionText(file);
    if (!shown.problem.isEmpty())
        return tool.fail(file, shown.problem);
    tool.out() << QString::fromUtf8(shown.text);
    return ExitStatus::Success;
}

} // namespace

extern const CommandEntry gridCommand{
    "grid",
    "ARCHIVO",
    "El mapa como texto para git, una línea por fila.",
    "El mapa como texto para git (textconv): el tamaño, una línea por fila con un carácter "
    "por casilla (el número de su terreno) y el comienzo de cada jugador, uno por línea. De un "
    "archivo que no es un mapa dice por qué, su tamaño y su SHA-256 (así se ve un cambio en "
    "cualquier parte) y muestra sus primeros bytes, y sale con 0 para que git muestre todas "
    "las versiones. ARCHIVO puede ser una tubería, o «-» para la "
    "entrada estándar.",
    1,
    1,
    &grid};

} // namespace quintaraz
