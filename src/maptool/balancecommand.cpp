// balance: how fair a map is to its eight players. The figures come from the library; the
// words, the JSON and the picture are made here.

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "maptool/balanceoptions.h"
#include "maptool/balancereport.h"
#include "maptool/commandparser.h"
#include "maptool/toolcontext.h"
#include "render/balancepicture.h"
#include "render/mappicture.h"

namespace quintaraz {

namespace {

/**
 * Measures each map and says how fair it is, as text or JSON, drawing the one map's picture
 * when asked.
 */
ExitStatus measureEach(ToolContext& tool, const QStringList& files, const BalanceSettings& settings,
                       const std::optional<QString>& picture, bool json)
{
    ExitStatus status = ExitStatus::Success;
    QJsonArray reports;
    for (const QString& file : files) {
        const CommandMap read = tool.readMap(file, {.failure = ExitStatus::Trouble});
        if (!read.map) {
            status = read.status;
            continue;
        }
        const GameMap& map = *read.map;
        const BalanceFigures figures = measureBalance(map, settings);
        if (picture) {
            const TileArt art;
            QImage drawn = MapPicture(art).render(map, cellSize);
            drawBalance(drawn, cellSize, map, figures, art);
            if (!tool.writePng(*picture, drawn, PngOutput::Replacing))
                return ExitStatus::Trouble;
        }
        if (json)
            reports.append(balanceJson(file, map, figures));
        else
            tool.out() << (&file == &files.first() ? QString() : QStringLiteral("\n"))
                       << balanceText(file, map, figures);
        if (figures.verdict != BalanceVerdict::Balanced)
            status = std::max(status, ExitStatus::NotBalanced);
    }
    tool.printJson(reports, files.size());
    return status;
}

ExitStatus balance(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption json =
        line.flag(QStringLiteral("json"), QStringLiteral("Lo mismo en JSON, para programas: un "
                                                         "objeto por mapa, una lista si son "
                                                         "varios."));
    const QCommandLineOption picture = line.option(
        QStringLiteral("picture"),
        QStringLiteral("Dibuja el mapa como render, con líneas del color de cada jugador sobre su "
                       "territorio, una rejilla blanca sobre las casillas disputadas y el paso "
                       "más estrecho de cada jugador enmarcado en su color (un solo mapa)."),
        QStringLiteral("SALIDA.png"));
    const BalanceOptions verdict(line);
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const std::optional<BalanceSettings> settings = verdict.read();
    if (!settings)
        return ExitStatus::Usage;
    const QStringList files = line.files();
    if (line.isSet(picture) && files.size() > 1)
        return line.usageError(QStringLiteral("--picture dibuja un solo mapa"));
    const std::optional<QString> picturePath =
        line.isSet(picture) ? std::optional(line.value(picture)) : std::nullopt;
    if (picturePath) {
        const QString problem = outputProblem(*picturePath, files.at(0), OutputKind::Picture);
        if (!problem.isEmpty())
            return tool.trouble(*picturePath, problem);
    }
    return measureEach(tool, files, *settings, picturePath, line.isSet(json));
}

} // namespace

extern const CommandEntry balanceCommand{
    "balance",
    "ARCHIVO...",
    "Mide si el mapa es justo para los ocho jugadores.",
    "Mide si el mapa es justo para los ocho jugadores.\n\n"
    "Casillas transitables: las que no son roca (1) ni agua (2) ni un terreno que el editor\n"
    "no conoce; --blocking 1,2,3 o --blocking roca,agua,árbol dice qué terrenos cortan el\n"
    "paso. Un paso va a una de las cuatro casillas que comparten un lado; la distancia de un\n"
    "jugador a una casilla es el menor número de pasos desde su comienzo por casillas\n"
    "transitables. Un comienzo en una casilla que corta el paso o fuera del mapa no alcanza\n"
    "nada.\n\n"
    "De cada jugador: región (casillas que alcanza, la suya incluida), espacio (casillas\n"
    "a R pasos o menos; R es --radius, 12 si no se dice), árboles y parcelas a R, 2R y 4R\n"
    "pasos (si cortan el paso, a un paso más que su vecina alcanzada más cercana),\n"
    "territorio (las casillas, árboles y parcelas a las que llega antes que nadie; una\n"
    "casilla a la que llegan primero dos o más a la vez está disputada y no es de nadie),\n"
    "rival cercano y rival lejano (pasos hasta el comienzo de otro jugador), alcanza (a\n"
    "cuántos de los otros siete comienzos llega) y paso estrecho: el ancho del paso más\n"
    "estrecho en el camino más ancho hasta su rival cercano, donde el ancho de una casilla\n"
    "es el lado del mayor cuadrado de casillas transitables que la contiene (un pasillo de\n"
    "3 casillas de ancho mide 3).\n\n"
    "Simetrías: cuántas casillas lleva cada giro o espejo a otro terreno, y si lleva las\n"
    "casillas de comienzo a casillas de comienzo. Medidas (espacio, árboles y parcelas a\n"
    "2R, territorio, rival cercano): el peor y el mejor jugador, la razón peor/mejor y el\n"
    "índice de Jain. Veredicto: injusto si algún comienzo no alcanza a todos los demás;\n"
    "equilibrado si la razón de cada medida llega al umbral (--threshold, 0.9 si no se\n"
    "dice); desequilibrado si no.\n\n"
    "Sale con 0 si todos los mapas están equilibrados, con 1 si alguno no, con 2 si un\n"
    "archivo no es un mapa, la salida no se puede escribir o la orden no se entiende.",
    1,
    -1,
    &balance};

} // namespace quintaraz
