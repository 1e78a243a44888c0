// new: a new map to start from, all grass with eight starts apart, as a .map or for Tiled.

#include "map/mapfilename.h"
#include "map/maptext.h"
#include "map/newmap.h"
#include "maptool/commandparser.h"
#include "maptool/sizeoption.h"
#include "maptool/toolcontext.h"

#include <QFileInfo>

namespace quintaraz {

namespace {

/** The size in the older form's COLUMNAS and FILAS; nothing, said, when either is no size. */
std::optional<MapSize> olderSize(CommandParser& line)
{
    int sides[2] = {};
    for (int k = 0; k < 2; ++k) {
        bool number = false;
        sides[k] = line.files().at(k).toInt(&number);
        if (!number || !mapSizeLimits.contains(sides[k] - 1))
            return line.usageError(
                       QStringLiteral("%1 pide un número de %2 a %3")
                           .arg(k == 0 ? QStringLiteral("COLUMNAS") : QStringLiteral("FILAS"))
                           .arg(mapSizeLimits.lowest + 1)
                           .arg(mapSizeLimits.highest + 1)),
                   std::nullopt;
    }
    return MapSize{sides[0], sides[1]};
}

/** The size asked for in any of the three forms; nothing, said, when it is none. */
std::optional<MapSize> sizeAsked(CommandParser& line, const SizeOption& size)
{
    const qsizetype given = line.files().size();
    if (given > 1 && size.isSet())
        return line.usageError(QStringLiteral("el tamaño va en --size o delante de la salida, "
                                              "no en los dos")),
               std::nullopt;
    if (given == 3)
        return olderSize(line);
    if (given == 2)
        return size.read(line.files().at(0), QStringLiteral("el tamaño"));
    return size.read();
}

ExitStatus newMap(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption force =
        line.flag(QStringLiteral("force"),
                  QStringLiteral("Reemplaza la salida aunque ya exista con otro contenido."));
    const SizeOption size(line);
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const std::optional<MapSize> asked = sizeAsked(line, size);
    if (!asked)
        return ExitStatus::Usage;
    const QString output = line.files().constLast();
    const GameMap map = newMapWithStarts(asked->columns, asked->rows);
    if (const std::optional<TiledFormat> format = tiledFormatOf(output))
        return tool.writeTiled(map, QString(), output, *format, line.isSet(force));
    if (!hasMapExtension(QFileInfo(output).fileName()))
        return line.usageError(
            QStringLiteral("la salida debe terminar en .map, en .tmx o en .tmj"));
    return tool.writeFiles({{output, mapText(map)}}, QString(), line.isSet(force));
}

} // namespace

extern const CommandEntry newCommand{
    "new",
    "SALIDA.map|SALIDA.tmx|SALIDA.tmj",
    "Escribe un mapa nuevo, todo hierba, con los ocho comienzos.",
    "Escribe un mapa nuevo del tamaño de --size, todo hierba, con el comienzo de cada jugador "
    "en una casilla propia: un .map, o un mapa de Tiled como los de export. No reemplaza un "
    "archivo que ya existe con otro contenido sin --force.\n\n"
    "El tamaño también puede ir delante de la salida, «quintaraz-map new 60x40 SALIDA», o en "
    "la forma antigua, «quintaraz-map new COLUMNAS FILAS SALIDA», que sigue valiendo.",
    1,
    3,
    &newMap};

} // namespace quintaraz
