#include "maptool/generatereport.h"

#include "generate/mapgenerator.h"
#include "map/problemtext.h"
#include "maptool/balancereport.h"

#include <QJsonArray>

#include <array>

namespace quintaraz {

namespace {

/** The symmetries' names, in the order of GeneratedSymmetry. */
constexpr std::array<const char*, 5> symmetryNames{"espejo-vertical", "espejo-horizontal",
                                                   "giro-180", "cuadrantes", "octogonal"};

/** The least walk from a start to another's: what the nearest rival of all is. */
int nearestRival(const BalanceFigures& figures)
{
    int nearest = 0;
    for (const PlayerBalance& player : figures.players)
        if (player.nearestRival && (nearest == 0 || *player.nearestRival < nearest))
            nearest = *player.nearestRival;
    return nearest;
}

QString percent(int part, int whole)
{
    return QString::number((200 * part + whole) / (2 * whole));
}

} // namespace

const std::array<ShareOption, 5> shareOptions{{
    {"water", "Agua", &TerrainShares::water, Terrain::Water},
    {"rock", "Roca", &TerrainShares::rock, Terrain::Rock},
    {"trees", "Árboles", &TerrainShares::trees, Terrain::Tree},
    {"soil", "Parcelas de tierra", &TerrainShares::soilPatches, Terrain::SoilPatch},
    {"earth", "Tierra desnuda", &TerrainShares::bareEarth, Terrain::BareEarth},
}};

QString generatedSymmetryName(GeneratedSymmetry symmetry)
{
    return QLatin1String(symmetryNames[std::size_t(symmetry)]);
}

std::optional<GeneratedSymmetry> generatedSymmetryNamed(const QString& name)
{
    for (std::size_t k = 0; k < symmetryNames.size(); ++k)
        if (name == QLatin1String(symmetryNames[k]))
            return GeneratedSymmetry(k);
    return std::nullopt;
}

QString faultText(CandidateFault fault)
{
    switch (fault) {
    case CandidateFault::None:
        break;
    case CandidateFault::NotPainted:
        return QStringLiteral("en el que más se acerca, menos de la mitad de las casillas tiene "
                              "el terreno de todas sus vecinas: pide menos terreno");
    case CandidateFault::NoResources:
        return QStringLiteral("en el que más se acerca, algún jugador no tiene árboles o "
                              "parcelas a 24 pasos");
    case CandidateFault::Unbalanced:
        return QStringLiteral("balance no dice equilibrado de ninguno");
    case CandidateFault::NoLayout:
        return QStringLiteral("los comienzos no caben tan lejos unos de otros con sus árboles y "
                              "parcelas al lado");
    }
    return {};
}

QString repeatingCommand(const QString& file, const GeneratorOptions& options)
{
    QString command =
        QStringLiteral("quintaraz-map generate --size %1 --seed %2 --symmetry %3")
            .arg(sizeText(options.columns, options.rows), QString::number(options.seed),
                 generatedSymmetryName(options.symmetry));
    for (const ShareOption& option : shareOptions)
        command += QStringLiteral(" --%1 %2")
                       .arg(QLatin1String(option.name))
                       .arg(options.shares.*option.share);
    // A name that begins with a dash would be read as an option.
    return command + QStringLiteral(" --tries %1 %2%3")
                         .arg(options.tries)
                         .arg(file.startsWith(u'-') ? QStringLiteral("-- ") : QString(), file);
}

QString generatedText(const QString& file, const GeneratorOptions& options,
                      const GeneratedMap& generated)
{
    const GameMap& map = generated.map;
    QString text = QStringLiteral("%1: %2 casillas, %3, semilla %4\n  para repetirlo: %5\n")
                       .arg(file, sizeText(options.columns, options.rows),
                            generatedSymmetryName(options.symmetry), QString::number(options.seed),
                            repeatingCommand(file, options));
    const BalanceFigures& figures = generated.figures;
    if (generated.fault != CandidateFault::NoLayout) {
        const auto counts = map.terrainCounts();
        QStringList terrains;
        for (int t = 0; t < terrainCount; ++t)
            terrains << QStringLiteral("%1 %2 %").arg(terrainWord(t),
                                                      percent(counts[t], map.cellCount()));
        text += QStringLiteral("  terreno: %1\n").arg(terrains.join(QStringLiteral(", ")));
        text += QStringLiteral(
                    "  comienzos: el menor rival cercano es de %1 pasos (nunca menos de %2)\n")
                    .arg(nearestRival(figures))
                    .arg(leastStartDistance(options.columns, options.rows));
        text += QStringLiteral("  pintado: el %1 % de las casillas tiene el terreno de todas sus "
                               "vecinas\n")
                    .arg(percent(generated.uniformCells, map.cellCount()));
        text += QStringLiteral("  equilibrio: %1: %2\n")
                    .arg(verdictWord(figures.verdict), verdictReason(figures));
        QStringList ratios;
        const std::array<const char*, balanceMeasureCount> labels{"espacio", "árboles", "parcelas",
                                                                  "territorio", "rival cercano"};
        for (int m = 0; m < balanceMeasureCount; ++m)
            ratios << QStringLiteral("%1 %2").arg(
                QString::fromUtf8(labels[std::size_t(m)]),
                QString::number(figures.measures[m].ratio, 'f', 2));
        text += QStringLiteral("  razones: %1\n").arg(ratios.join(QStringLiteral(", ")));
    }
    text += QStringLiteral("  candidatos: %1 de %2 como mucho\n")
                .arg(generated.candidates)
                .arg(options.tries);
    return text;
}

QJsonObject generatedJson(const QString& file, const GeneratorOptions& options,
                          const GeneratedMap& generated, bool written)
{
    QJsonObject chosen{{QStringLiteral("columnas"), options.columns},
                       {QStringLiteral("filas"), options.rows},
                       {QStringLiteral("simetria"), generatedSymmetryName(options.symmetry)},
                       {QStringLiteral("intentos"), options.tries}};
    for (const ShareOption& option : shareOptions)
        chosen[QLatin1String(terrainKeys[std::size_t(option.terrain)])] =
            options.shares.*option.share;
    QJsonObject report{{QStringLiteral("archivo"), file},
                       {QStringLiteral("escrito"), written},
                       {QStringLiteral("semilla"), qint64(options.seed)},
                       {QStringLiteral("opciones"), chosen},
                       {QStringLiteral("orden"), repeatingCommand(file, options)},
                       {QStringLiteral("candidatos"), generated.candidates}};
    if (generated.fault == CandidateFault::NoLayout)
        return report;
    const GameMap& map = generated.map;
    const auto counts = map.terrainCounts();
    QJsonObject terrains;
    for (int t = 0; t < terrainCount; ++t)
        terrains[QLatin1String(terrainKeys[std::size_t(t)])] = counts[std::size_t(t)];
    const BalanceFigures& figures = generated.figures;
    report[QStringLiteral("terreno")] = terrains;
    report[QStringLiteral("rival_cercano")] = nearestRival(figures);
    report[QStringLiteral("distancia_minima")] = leastStartDistance(options.columns, options.rows);
    report[QStringLiteral("casillas_uniformes")] = generated.uniformCells;
    report[QStringLiteral("veredicto")] = verdictWord(figures.verdict);
    report[QStringLiteral("motivo")] = verdictReason(figures);
    report[QStringLiteral("razones")] = measureRatiosJson(figures);
    return report;
}

} // namespace quintaraz
