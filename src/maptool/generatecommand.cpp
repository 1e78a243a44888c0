// generate: a new map that is symmetric, fair and painted, made by the library's generator.
// The options are read and the words made here.

#include "generate/mapgenerator.h"
#include "map/mapfilename.h"
#include "map/maptext.h"
#include "map/problemtext.h"
#include "maptool/commandparser.h"
#include "maptool/generatereport.h"
#include "maptool/sizeoption.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace quintaraz {

namespace {

/** A whole number from least to most written in decimal digits only; nothing for another. */
std::optional<std::uint64_t> wholeNumber(const QString& text, std::uint64_t least,
                                         std::uint64_t most)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,20}$"));
    bool number = false;
    const qulonglong value = text.toULongLong(&number);
    if (!digits.match(text).hasMatch() || !number || value < least || value > most)
        return std::nullopt;
    return value;
}

/** The options of the terrains' shares, one for each of shareOptions, in its order. */
QList<QCommandLineOption> shareOptionsOf(CommandParser& line, const GeneratorOptions& defaults)
{
    QList<QCommandLineOption> shares;
    for (const ShareOption& option : shareOptions) {
        const int share = defaults.shares.*option.share;
        shares << line.option(QLatin1String(option.name),
                              QStringLiteral("%1, en % de las casillas; %2 si no se dice.")
                                  .arg(QString::fromUtf8(option.label))
                                  .arg(share),
                              QStringLiteral("P"), QString::number(share));
    }
    return shares;
}

/** The options of generate, each described once and added to its line in --help's order. */
struct GenerateOptions {
    explicit GenerateOptions(CommandParser& line);

    CommandParser& line;
    const GeneratorOptions defaults;
    const SizeOption size;
    const QCommandLineOption seed;
    const QCommandLineOption symmetry;
    const QList<QCommandLineOption> shares;
    const QCommandLineOption tries;
    const QCommandLineOption force;
    const QCommandLineOption json;
};

GenerateOptions::GenerateOptions(CommandParser& line)
    : line(line)
    , size(line)
    , seed(line.option(QStringLiteral("seed"),
                       QStringLiteral("La semilla, de 0 a %1; si no se da, se elige una y se dice.")
                           .arg(largestSeed),
                       QStringLiteral("N")))
    , symmetry(line.option(QStringLiteral("symmetry"),
                           QStringLiteral("espejo-vertical, espejo-horizontal, giro-180, "
                                          "cuadrantes, octogonal (mapas cuadrados) o auto, si no "
                                          "se dice: octogonal si el mapa es cuadrado, cuadrantes "
                                          "si no."),
                           QStringLiteral("CLASE"), QStringLiteral("auto")))
    , shares(shareOptionsOf(line, defaults))
    , tries(line.option(QStringLiteral("tries"),
                        QStringLiteral("Cuántos mapas candidatos se prueban como mucho, de 1 a "
                                       "%1; %2 si no se dice.")
                            .arg(mostTries)
                            .arg(defaults.tries),
                        QStringLiteral("K"), QString::number(defaults.tries)))
    , force(line.flag(QStringLiteral("force"),
                      QStringLiteral("Reemplaza la salida aunque ya exista con otro contenido.")))
    , json(line.flag(QStringLiteral("json"), QStringLiteral("Lo mismo en JSON, para programas.")))
{
}

/** The size and the symmetry the command line asks for into options, or the problem. */
QString readShape(const GenerateOptions& given, GeneratorOptions& options)
{
    const QString kind = given.line.value(given.symmetry);
    const std::optional<GeneratedSymmetry> named = generatedSymmetryNamed(kind);
    if (!named && kind != QLatin1String("auto"))
        return QStringLiteral("--symmetry pide espejo-vertical, espejo-horizontal, giro-180, "
                              "cuadrantes, octogonal o auto");
    options.symmetry = named.value_or(automaticSymmetry(options.columns, options.rows));
    if (!symmetryFits(options.symmetry, options.columns, options.rows))
        return QStringLiteral("la simetría octogonal pide un mapa cuadrado, como --size %1")
            .arg(sizeText(std::min(options.columns, options.rows),
                          std::min(options.columns, options.rows)));
    return {};
}

/** The terrains' shares the command line asks for into options, or the problem. */
QString readShares(const GenerateOptions& given, GeneratorOptions& options)
{
    for (std::size_t k = 0; k < shareOptions.size(); ++k) {
        const auto percent = wholeNumber(given.line.value(given.shares[qsizetype(k)]), 0, 100);
        if (!percent)
            return QStringLiteral("--%1 pide un porcentaje de 0 a 100")
                .arg(QLatin1String(shareOptions[k].name));
        options.shares.*shareOptions[k].share = int(*percent);
    }
    if (options.shares.blocking() > largestBlockingShare)
        return QStringLiteral("el agua y la roca juntas pasan del %1 % del mapa: no quedaría "
                              "sitio para andar")
            .arg(largestBlockingShare);
    if (options.shares.total() > largestTerrainShare)
        return QStringLiteral("los terrenos juntos pasan del %1 % del mapa")
            .arg(largestTerrainShare);
    return {};
}

/** The tries and the seed the command line asks for into options, or the problem. */
QString readTriesAndSeed(const GenerateOptions& given, GeneratorOptions& options)
{
    const auto tries = wholeNumber(given.line.value(given.tries), 1, mostTries);
    if (!tries)
        return QStringLiteral("--tries pide un número de 1 a %1").arg(mostTries);
    options.tries = int(*tries);
    if (!given.line.isSet(given.seed)) {
        // Short enough to type again; the seed is said with the map.
        options.seed = QRandomGenerator::system()->bounded(quint64(1000000000));
        return {};
    }
    const auto seed = wholeNumber(given.line.value(given.seed), 0, largestSeed);
    if (!seed)
        return QStringLiteral("--seed pide un número entero de 0 a %1").arg(largestSeed);
    options.seed = *seed;
    return {};
}

/** The generator's options that the command line asks for; nothing, said, when it cannot. */
std::optional<GeneratorOptions> generatorOptionsOf(const GenerateOptions& given)
{
    GeneratorOptions options;
    const std::optional<MapSize> size = given.size.read();
    if (!size)
        return std::nullopt;
    options.columns = size->columns;
    options.rows = size->rows;
    for (const auto read : {readShape, readShares, readTriesAndSeed})
        if (const QString problem = read(given, options); !problem.isEmpty())
            return given.line.usageError(problem), std::nullopt;
    if (!hasMapExtension(QFileInfo(given.line.files().at(0)).fileName()))
        return given.line.usageError(QStringLiteral("la salida debe terminar en .map")),
               std::nullopt;
    return options;
}

ExitStatus generate(ToolContext& tool, CommandParser& line)
{
    const GenerateOptions given(line);
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const std::optional<GeneratorOptions> asked = generatorOptionsOf(given);
    if (!asked)
        return ExitStatus::Usage;
    const GeneratorOptions& options = *asked;
    const QString output = line.files().at(0);
    const GeneratedMap generated = generateMap(options);
    const QString name = printableName(output);
    if (generated.found && tool.writeFiles({{output, mapText(generated.map)}}, QString(),
                                           line.isSet(given.force)) != ExitStatus::Success)
        return ExitStatus::Failed;
    if (line.isSet(given.json))
        tool.printJson(generatedJson(name, options, generated, generated.found));
    else
        tool.out() << generatedText(name, options, generated);
    if (generated.found)
        return ExitStatus::Success;
    const QString fault = faultText(generated.fault);
    const QString none =
        generated.candidates == 1
            ? QStringLiteral("el único mapa candidato no cumple lo prometido (%1)").arg(fault)
            : QStringLiteral("ninguno de los %1 mapas candidatos cumple lo prometido (%2)")
                  .arg(generated.candidates)
                  .arg(fault);
    return tool.fail(
        output, none + QStringLiteral("; no se escribe nada: prueba otra semilla o más --tries"));
}

} // namespace

extern const CommandEntry generateCommand{
    "generate",
    "SALIDA.map",
    "Hace un mapa nuevo, simétrico, justo y pintado a manchas.",
    "Hace un mapa nuevo para ocho jugadores, simétrico, justo y pintado a manchas, y lo\n"
    "escribe en SALIDA.map; no reemplaza un archivo que ya existe con otro contenido sin\n"
    "--force.\n\n"
    "Simetrías (W y H son la columna y la fila más altas): espejo-vertical (x, y) -> (W-x, y),\n"
    "espejo-horizontal (x, y) -> (x, H-y) y giro-180 (x, y) -> (W-x, H-y) emparejan a los\n"
    "jugadores: el 5 es la imagen del 1, el 6 la del 2, el 7 la del 3 y el 8 la del 4. El\n"
    "mapa sale también simétrico con los otros dos en todo menos la tierra desnuda, que no\n"
    "cuenta en balance: así quedan equilibrados los ocho. cuadrantes: los dos espejos a la\n"
    "vez (y el 5 es la imagen del 1 por el giro-180). octogonal, solo en mapas cuadrados: los\n"
    "ocho giros y espejos del cuadrado; cada jugador es imagen de los otros siete y todos\n"
    "tienen las mismas cifras. auto: octogonal si el mapa es cuadrado, cuadrantes si no.\n"
    "Con un número impar de columnas, la del medio es el eje del espejo vertical y se\n"
    "refleja sobre sí misma; con uno par, el eje pasa entre las dos del medio, que son\n"
    "imagen una de otra. Lo mismo las filas. Ningún comienzo está en un eje ni, en la\n"
    "octogonal, en una diagonal.\n\n"
    "Todo mapa que escribe cumple: el editor lo abre y check --strict no avisa de nada;\n"
    "cada comienzo alcanza a los otros siete; entre dos comienzos hay al menos un tercio\n"
    "del lado menor del mapa en pasos por filas y columnas; cada jugador tiene árboles y\n"
    "parcelas a 2R = 24 pasos o menos, si se piden; balance dice equilibrado con su umbral\n"
    "de 0.9; al menos la mitad de las casillas tiene el terreno de todas sus vecinas del\n"
    "mapa, como un mapa pintado a mano. Los porcentajes son de las casillas del mapa; lo\n"
    "que sale se acerca a ellos (y se dice). La misma semilla con las mismas opciones da\n"
    "el mismo archivo, byte a byte, en cualquier máquina.\n\n"
    "Prueba mapas candidatos hasta que uno lo cumple todo, --tries como mucho; dice la\n"
    "semilla, la orden que lo repite, el veredicto de balance con sus cinco razones y\n"
    "cuántos candidatos hicieron falta. Si ninguno lo cumple, no escribe nada y sale con 1;\n"
    "con 2 si la orden no se entiende.",
    1,
    1,
    &generate};

} // namespace quintaraz
