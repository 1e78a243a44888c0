// export: a map for Tiled, as TMX or as Tiled's JSON.

#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"

namespace quintaraz {

namespace {

ExitStatus exportMap(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption force =
        line.flag(QStringLiteral("force"), QStringLiteral("Reemplaza la salida y los dibujos "
                                                          "aunque ya existan con otro "
                                                          "contenido."));
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const QString map = line.files().at(0);
    const QString output = line.files().at(1);
    const std::optional<TiledFormat> format = tiledFormatOf(output);
    if (!format)
        return line.usageError(QStringLiteral("la salida debe terminar en .tmx o en .tmj"));
    const CommandMap read = tool.readMap(map);
    if (!read.map)
        return read.status;
    return tool.writeTiled(*read.map, map, output, *format, line.isSet(force));
}

} // namespace

extern const CommandEntry exportCommand{
    "export",
    "ARCHIVO SALIDA.tmx|SALIDA.tmj",
    "Convierte un mapa al formato de Tiled.",
    "Convierte el mapa al formato de Tiled (TMX, o JSON con .tmj): la capa de patrones "
    "«terreno» y la capa de objetos «comienzos» con un marcador por jugador, con los "
    "conjuntos de patrones instalados en ../share/quintaraz-editor/tiled junto al programa "
    "(o, si no están, con sus dibujos terrenos.png y jugadores.png junto a la salida). Un "
    "archivo que ya existe con otro contenido solo se reemplaza con --force; si algo falla, "
    "no queda ninguno nuevo.",
    2,
    2,
    &exportMap};

} // namespace quintaraz
