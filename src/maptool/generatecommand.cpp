// The map tool's generate command: a new map that is symmetric, fair and painted, made by
// the library's generator; see maptool.h. The options are read and the words made here.

#include "generate/mapgenerator.h"
#include "map/mapfilename.h"
#include "map/maptext.h"
#include "maptool/commandparser.h"
#include "maptool/generatereport.h"
#include "maptool/maptool.h"
#include "system/filenames.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <variant>

namespace quintaraz {

namespace {

/** The size in "60x40" (or "60 x 40", "60×40"), each side 17 to 100; nothing for another. */
std::optional<std::pair<int, int>> sizeOf(const QString& text)
{
    static const QRegularExpression size(
        QStringLiteral("^\\s*(\\d{1,3})\\s*[xX×]\\s*(\\d{1,3})\\s*$"));
    const QRegularExpressionMatch match = size.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int columns = match.captured(1).toInt();
    const int rows = match.captured(2).toInt();
    if (!mapSizeLimits.contains(columns - 1) || !mapSizeLimits.contains(rows - 1))
        return std::nullopt;
    return std::pair{columns, rows};
}

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

/** The options of generate, each described once. */
struct GenerateOptions {
    GenerateOptions();

    const GeneratorOptions defaults;
    const QCommandLineOption size{
        QStringLiteral("size"),
        QStringLiteral("Columnas x filas, de 17 a 100 cada una; %1x%2 si no se dice.")
            .arg(defaults.columns)
            .arg(defaults.rows),
        QStringLiteral("CxF"), QStringLiteral("%1x%2").arg(defaults.columns).arg(defaults.rows)};
    const QCommandLineOption seed{
        QStringLiteral("seed"),
        QStringLiteral("La semilla, de 0 a %1; si no se da, se elige una y se dice.")
            .arg(largestSeed),
        QStringLiteral("N")};
    const QCommandLineOption symmetry{
        QStringLiteral("symmetry"),
        QStringLiteral("espejo-vertical, espejo-horizontal, giro-180, cuadrantes, octogonal "
                       "(mapas cuadrados) o auto, si no se dice: octogonal si el mapa es "
                       "cuadrado, cuadrantes si no."),
        QStringLiteral("CLASE"), QStringLiteral("auto")};
    /** One for each of shareOptions, in its order. */
    QList<QCommandLineOption> shares;
    const QCommandLineOption tries{
        QStringLiteral("tries"),
        QStringLiteral("Cuántos mapas candidatos se prueban como mucho, de 1 a %1; %2 si no se "
                       "dice.")
            .arg(mostTries)
            .arg(defaults.tries),
        QStringLiteral("K"), QString::number(defaults.tries)};
    const QCommandLineOption force{
        QStringLiteral("force"),
        QStringLiteral("Reemplaza la salida aunque ya exista con otro contenido.")};
    const QCommandLineOption json{QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas.")};

    QList<QCommandLineOption> all() const
    {
        return QList{size, seed, symmetry} + shares + QList{tries, force, json};
    }
};

GenerateOptions::GenerateOptions()
{
    for (const ShareOption& option : shareOptions) {
        const int share = defaults.shares.*option.share;
        shares << QCommandLineOption(QLatin1String(option.name),
                                     QStringLiteral("%1, en % de las casillas; %2 si no se dice.")
                                         .arg(QString::fromUtf8(option.label))
                                         .arg(share),
                                     QStringLiteral("P"), QString::number(share));
    }
}

/** The size and the symmetry the command line asks for into options, or the problem. */
QString readShape(const CommandParser& line, const GenerateOptions& given,
                  GeneratorOptions& options)
{
    const auto sides = sizeOf(line.value(given.size));
    if (!sides)
        return QStringLiteral("--size pide columnas x filas, cada una de 17 a 100, como 60x40");
    options.columns = sides->first;
    options.rows = sides->second;
    const QString kind = line.value(given.symmetry);
    const std::optional<GeneratedSymmetry> named = generatedSymmetryNamed(kind);
    if (!named && kind != QLatin1String("auto"))
        return QStringLiteral("--symmetry pide espejo-vertical, espejo-horizontal, giro-180, "
                              "cuadrantes, octogonal o auto");
    options.symmetry = named.value_or(automaticSymmetry(options.columns, options.rows));
    if (!symmetryFits(options.symmetry, options.columns, options.rows))
        return QStringLiteral("la simetría octogonal pide un mapa cuadrado, como --size %1x%1")
            .arg(std::min(options.columns, options.rows));
    return {};
}

/** The terrains' shares the command line asks for into options, or the problem. */
QString readShares(const CommandParser& line, const GenerateOptions& given,
                   GeneratorOptions& options)
{
    for (std::size_t k = 0; k < shareOptions.size(); ++k) {
        const auto percent = wholeNumber(line.value(given.shares[qsizetype(k)]), 0, 100);
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
QString readTriesAndSeed(const CommandParser& line, const GenerateOptions& given,
                         GeneratorOptions& options)
{
    const auto tries = wholeNumber(line.value(given.tries), 1, mostTries);
    if (!tries)
        return QStringLiteral("--tries pide un número de 1 a %1").arg(mostTries);
    options.tries = int(*tries);
    if (!line.isSet(given.seed)) {
        // Short enough to type again; the seed is said with the map.
        options.seed = QRandomGenerator::system()->bounded(quint64(1000000000));
        return {};
    }
    const auto seed = wholeNumber(line.value(given.seed), 0, largestSeed);
    if (!seed)
        return QStringLiteral("--seed pide un número entero de 0 a %1").arg(largestSeed);
    options.seed = *seed;
    return {};
}

/** The generator's options that the command line asks for, or the problem with them. */
std::variant<GeneratorOptions, QString> generatorOptionsOf(const CommandParser& line,
                                                           const GenerateOptions& given)
{
    GeneratorOptions options;
    for (const auto read : {readShape, readShares, readTriesAndSeed})
        if (const QString problem = read(line, given, options); !problem.isEmpty())
            return problem;
    if (!hasMapExtension(QFileInfo(line.files().at(0)).fileName()))
        return QStringLiteral("la salida debe terminar en .map");
    return options;
}

} // namespace

int MapTool::generate(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const GenerateOptions given;
    for (const QCommandLineOption& option : given.all())
        line.addOption(option);
    if (const std::optional<int> status = parse(line, command, arguments, 1, 1))
        return *status;
    const auto asked = generatorOptionsOf(line, given);
    if (const QString* problem = std::get_if<QString>(&asked))
        return usageError(&command, *problem);
    const GeneratorOptions& options = std::get<GeneratorOptions>(asked);
    const QString output = line.files().at(0);
    const bool force = line.isSet(given.force);
    const bool json = line.isSet(given.json);

    const GeneratedMap generated = generateMap(options);
    const QString name = printableName(output);
    int status = 0;
    if (!generated.found) {
        status = 1;
    } else if (writeFiles({{output, mapText(generated.map)}}, QString(), force) != 0) {
        return 1;
    }
    if (json)
        out_ << QJsonDocument(generatedJson(name, options, generated, status == 0))
                    .toJson(QJsonDocument::Compact)
             << '\n';
    else
        out_ << generatedText(name, options, generated);
    if (status != 0) {
        const QString fault = faultText(generated.fault);
        const QString none =
            generated.candidates == 1
                ? QStringLiteral("el único mapa candidato no cumple lo prometido (%1)").arg(fault)
                : QStringLiteral("ninguno de los %1 mapas candidatos cumple lo prometido (%2)")
                      .arg(generated.candidates)
                      .arg(fault);
        fail(output,
             none + QStringLiteral("; no se escribe nada: prueba otra semilla o más --tries"));
    }
    return status;
}

} // namespace quintaraz
