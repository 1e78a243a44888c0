// The map tool's balance command: how fair a map is to its eight players; see maptool.h.
// The figures come from the library; the words, the JSON and the picture are made here.

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "map/mapreading.h"
#include "maptool/balancereport.h"
#include "maptool/commandparser.h"
#include "maptool/maptool.h"
#include "maptool/outputfiles.h"
#include "render/balancepicture.h"
#include "render/mappicture.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <variant>

namespace quintaraz {

namespace {

/** The largest radius taken: 4R steps stay within what a distance holds. */
constexpr int largestRadius = 10000;

/** The terrains of a list such as "1,2,3", or nothing when it names something else. */
std::optional<std::array<bool, terrainCount>> blockingTerrains(const QString& list)
{
    std::array<bool, terrainCount> blocking{};
    if (list.trimmed().isEmpty())
        return blocking; // nothing known blocks
    for (const QString& item : list.split(u',')) {
        bool number = false;
        const int terrain = item.trimmed().toInt(&number);
        if (!number || !isTerrain(terrain))
            return std::nullopt;
        blocking[terrain] = true;
    }
    return blocking;
}

/** The options of balance, each described once. */
struct BalanceOptions {
    const BalanceSettings defaults;
    const QCommandLineOption json{QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas: un objeto por "
                                                 "mapa, una lista si son varios.")};
    const QCommandLineOption picture{
        QStringLiteral("picture"),
        QStringLiteral("Dibuja el mapa como render, con líneas del color de cada jugador sobre su "
                       "territorio, una rejilla blanca sobre las casillas disputadas y el paso "
                       "más estrecho de cada jugador enmarcado en su color (un solo mapa)."),
        QStringLiteral("SALIDA.png")};
    const QCommandLineOption radius{
        QStringLiteral("radius"),
        QStringLiteral("R, los pasos del espacio y de los recursos, de 1 a %1.").arg(largestRadius),
        QStringLiteral("N"), QString::number(defaults.radius)};
    const QCommandLineOption threshold{
        QStringLiteral("threshold"),
        QStringLiteral("La menor razón peor/mejor de un mapa equilibrado, de 0 a 1."),
        QStringLiteral("R"), QString::number(defaults.threshold)};
    const QCommandLineOption blocking{
        QStringLiteral("blocking"),
        QStringLiteral("Los terrenos que cortan el paso, por número y separados por comas."),
        QStringLiteral("LISTA"), QStringLiteral("1,2")};
};

/** The settings the command line asks for, or the problem with them. */
std::variant<BalanceSettings, QString> settingsOf(const CommandParser& line,
                                                  const BalanceOptions& options)
{
    BalanceSettings settings;
    bool number = false;
    settings.radius = line.value(options.radius).toInt(&number);
    if (!number || settings.radius < 1 || settings.radius > largestRadius)
        return QStringLiteral("--radius pide un número de pasos de 1 a %1").arg(largestRadius);
    // A decimal comma is what a Spanish keyboard types.
    settings.threshold =
        QString(line.value(options.threshold)).replace(u',', u'.').toDouble(&number);
    if (!number || !(settings.threshold >= 0 && settings.threshold <= 1))
        return QStringLiteral("--threshold pide una razón de 0 a 1, como 0.9");
    const auto terrains = blockingTerrains(line.value(options.blocking));
    if (!terrains)
        return QStringLiteral("--blocking pide números de terreno del 0 al 5 separados por "
                              "comas, como 1,2,3");
    settings.blocking = *terrains;
    if (line.isSet(options.picture) && line.files().size() > 1)
        return QStringLiteral("--picture dibuja un solo mapa");
    return settings;
}

} // namespace

int MapTool::balance(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const BalanceOptions options;
    for (const QCommandLineOption& option :
         {options.json, options.picture, options.radius, options.threshold, options.blocking})
        line.addOption(option);
    if (const std::optional<int> status = parse(line, command, arguments, 1, -1))
        return *status;
    const auto settings = settingsOf(line, options);
    if (const QString* problem = std::get_if<QString>(&settings))
        return usageError(&command, *problem);
    const std::optional<QString> picture =
        line.isSet(options.picture) ? std::optional(line.value(options.picture)) : std::nullopt;
    if (picture) {
        const QString problem = outputProblem(*picture, line.files().at(0), OutputKind::Picture);
        if (!problem.isEmpty())
            return trouble(*picture, problem);
    }
    return measureEach(line.files(), std::get<BalanceSettings>(settings), picture,
                       line.isSet(options.json));
}

int MapTool::measureEach(const QStringList& files, const BalanceSettings& settings,
                         const std::optional<QString>& picture, bool json)
{
    int status = 0;
    QJsonArray reports;
    for (const QString& file : files) {
        const CommandMap read = readMap(file, {.failure = 2});
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
            if (!writePng(*picture, drawn, Output::Replacing))
                return 2;
        }
        if (json)
            reports.append(balanceJson(file, map, figures));
        else
            out_ << (&file == &files.first() ? QString() : QStringLiteral("\n"))
                 << balanceText(file, map, figures);
        if (figures.verdict != BalanceVerdict::Balanced)
            status = std::max(status, 1);
    }
    if (json && !reports.isEmpty())
        out_ << (files.size() == 1 ? QJsonDocument(reports.first().toObject())
                                   : QJsonDocument(reports))
                    .toJson(QJsonDocument::Compact)
             << '\n';
    return status;
}

} // namespace quintaraz
