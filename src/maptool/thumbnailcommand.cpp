// thumbnail: a small preview of a map for file managers.

#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "render/mappicture.h"

namespace quintaraz {

namespace {

ExitStatus thumbnail(ToolContext& tool, CommandParser& line)
{
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    bool number = false;
    const int size = line.files().at(2).toInt(&number);
    if (!number || size < 1 || size > 4096)
        return line.usageError(QStringLiteral("TAMAÑO pide un número de 1 a 4096"));
    // A preview service may hold the output file open and read it afterwards: the picture
    // goes into that file, not into a new one renamed over it. It waits for the picture,
    // which is small: compressed fast.
    return tool.drawToPng(
        line.files().at(0), line.files().at(1), PngOutput::InPlace,
        [size](const MapPicture& picture, const GameMap& map) {
            return picture.thumbnail(map, size);
        },
        PngCompression::Fast);
}

} // namespace

extern const CommandEntry thumbnailCommand{
    "thumbnail",
    "ARCHIVO SALIDA.png TAMAÑO",
    "Una vista previa en PNG, para los gestores de archivos.",
    "Una vista previa en PNG cuyo lado mayor mide a lo sumo TAMAÑO píxeles, para los "
    "gestores de archivos. Si el archivo no es un mapa, no escribe nada y sale con 1.",
    3,
    3,
    &thumbnail};

} // namespace quintaraz
