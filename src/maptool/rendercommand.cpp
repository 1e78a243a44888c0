// render: the whole map as the editor draws it, as a PNG.

#include "art/tileart.h"
#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "render/mappicture.h"

namespace quintaraz {

namespace {

ExitStatus render(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption cell =
        line.option(QStringLiteral("cell"), QStringLiteral("Píxeles por casilla, de 1 a 100."),
                    QStringLiteral("N"), QString::number(cellSize));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    bool number = false;
    const int size = line.value(cell).toInt(&number);
    if (!number || size < 1 || size > 100)
        return line.usageError(QStringLiteral("--cell pide un número de 1 a 100"));
    return tool.drawToPng(line.files().at(0), line.files().at(1), PngOutput::Replacing,
                          [size](const MapPicture& picture, const GameMap& map) {
                              return picture.render(map, size);
                          });
}

} // namespace

extern const CommandEntry renderCommand{
    "render",
    "ARCHIVO SALIDA.png",
    "Dibuja el mapa entero en un PNG, como lo dibuja el editor.",
    "Dibuja el mapa entero, cada casilla y cada comienzo, con los dibujos del editor, a N "
    "píxeles por casilla (de 1 a 100; 25 si no se dice).",
    2,
    2,
    &render};

} // namespace quintaraz
