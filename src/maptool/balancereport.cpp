#include "maptool/balancereport.h"

#include "balance/balancefigures.h"
#include "map/gamemap.h"
#include "map/problemtext.h"

#include <QJsonArray>

#include <array>

namespace quintaraz {

namespace {

/** The five measures' keys in JSON, in the order of BalanceMeasure. */
constexpr std::array<const char*, balanceMeasureCount> measureKeys{"espacio", "arboles", "parcelas",
                                                                   "territorio", "rival_cercano"};

/** The widest a line of text gets: an 80-column terminal never wraps it. */
constexpr int lineWidth = 79;

/** The symmetries' names, in the order of Symmetry. */
constexpr std::array<const char*, allSymmetries.size()> symmetryNames{
    "espejo-vertical", "espejo-horizontal", "giro-180", "giro-90", "diagonal", "antidiagonal"};

/** The verdicts' words, in the order of BalanceVerdict. */
constexpr std::array<const char*, 3> verdictWords{"equilibrado", "desequilibrado", "injusto"};

} // namespace

QString symmetryName(Symmetry symmetry)
{
    return QLatin1String(symmetryNames[std::size_t(symmetry)]);
}

namespace {

/** "1, 2 y 3". */
QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" y ") +
           items.last();
}

QString number(std::optional<int> value)
{
    return value ? QString::number(*value) : QStringLiteral("-");
}

QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 2);
}

} // namespace

QString measureLabel(BalanceMeasure measure, int radius)
{
    switch (measure) {
    case BalanceMeasure::Space:
        return QStringLiteral("espacio a %1 pasos").arg(radius);
    case BalanceMeasure::Trees:
        return QStringLiteral("árboles a %1 pasos").arg(2 * radius);
    case BalanceMeasure::SoilPatches:
        return QStringLiteral("parcelas a %1 pasos").arg(2 * radius);
    case BalanceMeasure::Territory:
        return QStringLiteral("territorio");
    case BalanceMeasure::NearestRival:
        return QStringLiteral("rival cercano");
    }
    return {};
}

namespace {

QString measurePhrase(const BalanceFigures& figures, BalanceMeasure measure)
{
    const MeasureSpread& spread = figures.measure(measure);
    const QString label = measureLabel(measure, figures.settings.radius);
    const QString ratio = QStringLiteral(" (razón %1)").arg(ratioText(spread.ratio));
    if (!spread.worst)
        return label + QStringLiteral(": ningún jugador alcanza a otro") + ratio;
    const QString pattern =
        measure == BalanceMeasure::Territory
            ? QStringLiteral("%1, jugador %2 tiene %3 casillas y el jugador %4 tiene %5")
        : measure == BalanceMeasure::NearestRival
            ? QStringLiteral("%1, jugador %2 lo tiene a %3 pasos y el jugador %4 a %5")
            : QStringLiteral("%1, jugador %2 tiene %3 y el jugador %4 tiene %5");
    return pattern.arg(label)
               .arg(spread.worstPlayer + 1)
               .arg(*spread.worst)
               .arg(spread.bestPlayer + 1)
               .arg(*spread.best) +
           ratio;
}

/** Why each start that reaches nothing does, and which groups no path joins. */
QStringList unfairParts(const BalanceFigures& figures)
{
    QStringList parts;
    for (const PlayerBalance& player : figures.players)
        if (player.startProblem)
            parts << problemText(*player.startProblem);
    QStringList zones;
    for (int group = 0;; ++group) {
        QStringList members;
        for (int g = 0; g < playerCount; ++g)
            if (figures.reachGroups[g] == group)
                members << QString::number(g + 1);
        if (members.isEmpty())
            break;
        zones << (members.size() == 1 ? QStringLiteral("la del jugador ")
                                      : QStringLiteral("la de los jugadores ")) +
                     listed(members);
    }
    if (zones.size() > 1)
        parts << QStringLiteral("hay %1 zonas sin camino entre ellas: ").arg(zones.size()) +
                     listed(zones);
    return parts;
}

/**
 * Rows of cells in columns, the first column to the left and the others to the right, but
 * for those columns whose letter in left is 'l'.
 */
QString aligned(const QList<QStringList>& rows, const char* left = "l")
{
    const auto toLeft = [&](qsizetype column) {
        return column < qsizetype(qstrlen(left)) && left[column] == 'l';
    };
    QList<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = qMax(widths[c], row[c].size());
        }
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line +=
                (c == 0 ? QString() : QStringLiteral("  ")) +
                (toLeft(c) ? row[c].leftJustified(widths[c]) : row[c].rightJustified(widths[c]));
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

/** A long sentence broken between words, each following line indented. */
QString wrapped(const QString& sentence)
{
    QString text;
    QString line;
    bool words = false; // the line holds a word already
    for (const QString& word : sentence.split(u' ')) {
        if (words && line.size() + 1 + word.size() > lineWidth) {
            text += line + u'\n';
            line = QStringLiteral("  ");
            words = false;
        }
        if (words)
            line += u' ';
        line += word;
        words = true;
    }
    return text + line + u'\n';
}

/** The map, its size, R and what blocks a step, in a sentence. */
QString headingText(const QString& file, const GameMap& map, const BalanceFigures& figures)
{
    QStringList blocking;
    for (int t = 0; t < terrainCount; ++t)
        if (figures.settings.blocking[t])
            blocking << terrainWord(t);
    return wrapped(QStringLiteral("%1: %2 casillas; radio R = %3 pasos; cortan el paso: %4")
                       .arg(file, sizeText(map.columns(), map.rows()),
                            QString::number(figures.settings.radius),
                            blocking.isEmpty() ? QStringLiteral("ningún terreno conocido")
                                               : blocking.join(QStringLiteral(", "))));
}

/** The players side by side: eight narrow columns fit where eleven figures would not. */
QString playersTable(const GameMap& map, const BalanceFigures& figures)
{
    const int radius = figures.settings.radius;
    QList<QStringList> rows;
    const auto row = [&](const QString& label, const auto& value) {
        QStringList cells{label};
        for (int g = 0; g < playerCount; ++g)
            cells << value(figures.players[g], g);
        rows << cells;
    };
    const auto figure = [&](const QString& label, int PlayerBalance::*member) {
        row(label,
            [member](const PlayerBalance& player, int) { return QString::number(player.*member); });
    };
    row(QStringLiteral("jugador"),
        [](const PlayerBalance&, int g) { return QString::number(g + 1); });
    row(QStringLiteral("comienzo"), [&](const PlayerBalance&, int g) {
        const std::optional<GridPoint> start = map.starts[g];
        return start ? QStringLiteral("%1,%2").arg(start->x).arg(start->y) : QStringLiteral("-");
    });
    figure(QStringLiteral("región"), &PlayerBalance::region);
    figure(QStringLiteral("espacio a %1").arg(radius), &PlayerBalance::space);
    for (std::size_t k = 0; k < radiusMultiples.size(); ++k)
        row(QStringLiteral("árboles a %1").arg(radius * radiusMultiples[k]),
            [k](const PlayerBalance& player, int) { return QString::number(player.trees[k]); });
    for (std::size_t k = 0; k < radiusMultiples.size(); ++k)
        row(QStringLiteral("parcelas a %1").arg(radius * radiusMultiples[k]),
            [k](const PlayerBalance& player, int) {
                return QString::number(player.soilPatches[k]);
            });
    figure(QStringLiteral("territorio"), &PlayerBalance::territoryCells);
    figure(QStringLiteral("  con árboles"), &PlayerBalance::territoryTrees);
    figure(QStringLiteral("  con parcelas"), &PlayerBalance::territorySoilPatches);
    row(QStringLiteral("rival cercano"),
        [](const PlayerBalance& player, int) { return number(player.nearestRival); });
    row(QStringLiteral("rival lejano"),
        [](const PlayerBalance& player, int) { return number(player.farthestRival); });
    figure(QStringLiteral("alcanza"), &PlayerBalance::rivalsReached);
    row(QStringLiteral("paso estrecho"),
        [](const PlayerBalance& player, int) { return number(player.narrowestPass); });
    return aligned(rows);
}

/** Each symmetry that fits the map: how much terrain it breaks, whether starts match. */
QString symmetriesTable(const BalanceFigures& figures)
{
    QList<QStringList> rows{{QStringLiteral("simetría"), QStringLiteral("terreno roto"),
                             QStringLiteral("comienzos"), QString()}};
    for (const SymmetryCheck& check : figures.symmetries)
        rows << QStringList{symmetryName(check.symmetry), QString::number(check.brokenTerrain),
                            check.startsMatch ? QStringLiteral("sí") : QStringLiteral("no"),
                            check.exact() ? QStringLiteral("exacta") : QString()};
    return aligned(rows, "lrll");
}

/** The five measures: worst and best, their players, the ratio and Jain's index. */
QString measuresTable(const BalanceFigures& figures)
{
    QList<QStringList> rows{{QStringLiteral("medida"), QStringLiteral("peor"),
                             QStringLiteral("jugador"), QStringLiteral("mejor"),
                             QStringLiteral("jugador"), QStringLiteral("razón"),
                             QStringLiteral("Jain")}};
    const auto player = [](int g) { return g < 0 ? QStringLiteral("-") : QString::number(g + 1); };
    for (int m = 0; m < balanceMeasureCount; ++m) {
        const MeasureSpread& spread = figures.measures[m];
        rows << QStringList{measureLabel(BalanceMeasure(m), figures.settings.radius),
                            number(spread.worst),
                            player(spread.worstPlayer),
                            number(spread.best),
                            player(spread.bestPlayer),
                            ratioText(spread.ratio),
                            ratioText(spread.jain)};
    }
    return aligned(rows);
}

QJsonValue json(std::optional<int> value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonArray jsonCounts(const std::array<int, 3>& counts)
{
    return {counts[0], counts[1], counts[2]};
}

} // namespace

QString verdictWord(BalanceVerdict verdict)
{
    return QLatin1String(verdictWords[std::size_t(verdict)]);
}

QString verdictReason(const BalanceFigures& figures)
{
    if (figures.verdict == BalanceVerdict::Unfair)
        return unfairParts(figures).join(QStringLiteral("; "));
    if (figures.measure(figures.weakest).ratio >= 1)
        return QStringLiteral("los ocho jugadores tienen las mismas cifras en las cinco medidas");
    return measurePhrase(figures, figures.weakest);
}

QString balanceText(const QString& file, const GameMap& map, const BalanceFigures& figures)
{
    return headingText(file, map, figures) + playersTable(map, figures) +
           QStringLiteral("casillas disputadas: %1\n").arg(figures.disputedCells) +
           symmetriesTable(figures) + measuresTable(figures) +
           wrapped(QStringLiteral("veredicto: %1: %2")
                       .arg(verdictWord(figures.verdict), verdictReason(figures)));
}

QJsonObject measureRatiosJson(const BalanceFigures& figures)
{
    QJsonObject ratios;
    for (int m = 0; m < balanceMeasureCount; ++m)
        ratios[QLatin1String(measureKeys[m])] = figures.measures[m].ratio;
    return ratios;
}

QJsonObject balanceJson(const QString& file, const GameMap& map, const BalanceFigures& figures)
{
    QJsonArray blocking;
    for (int t = 0; t < terrainCount; ++t)
        if (figures.settings.blocking[t])
            blocking.append(t);
    QJsonArray players;
    for (int g = 0; g < playerCount; ++g) {
        const PlayerBalance& player = figures.players[g];
        const std::optional<GridPoint> start = map.starts[g];
        players.append(
            QJsonObject{{QStringLiteral("jugador"), g + 1},
                        {QStringLiteral("columna"), start ? QJsonValue(start->x) : QJsonValue()},
                        {QStringLiteral("fila"), start ? QJsonValue(start->y) : QJsonValue()},
                        {QStringLiteral("region"), player.region},
                        {QStringLiteral("espacio"), player.space},
                        {QStringLiteral("arboles"), jsonCounts(player.trees)},
                        {QStringLiteral("parcelas"), jsonCounts(player.soilPatches)},
                        {QStringLiteral("territorio"),
                         QJsonObject{{QStringLiteral("casillas"), player.territoryCells},
                                     {QStringLiteral("arboles"), player.territoryTrees},
                                     {QStringLiteral("parcelas"), player.territorySoilPatches}}},
                        {QStringLiteral("rival_cercano"), json(player.nearestRival)},
                        {QStringLiteral("rival_lejano"), json(player.farthestRival)},
                        {QStringLiteral("alcanza"), player.rivalsReached},
                        {QStringLiteral("paso_estrecho"), json(player.narrowestPass)}});
    }
    QJsonArray symmetries;
    for (const SymmetryCheck& check : figures.symmetries)
        symmetries.append(QJsonObject{{QStringLiteral("nombre"), symmetryName(check.symmetry)},
                                      {QStringLiteral("terreno_roto"), check.brokenTerrain},
                                      {QStringLiteral("comienzos"), check.startsMatch}});
    QJsonObject measures;
    for (int m = 0; m < balanceMeasureCount; ++m) {
        const MeasureSpread& spread = figures.measures[m];
        const auto player = [](int g) { return g < 0 ? QJsonValue() : QJsonValue(g + 1); };
        measures[QLatin1String(measureKeys[m])] =
            QJsonObject{{QStringLiteral("peor"), json(spread.worst)},
                        {QStringLiteral("jugador_peor"), player(spread.worstPlayer)},
                        {QStringLiteral("mejor"), json(spread.best)},
                        {QStringLiteral("jugador_mejor"), player(spread.bestPlayer)},
                        {QStringLiteral("razon"), spread.ratio},
                        {QStringLiteral("jain"), spread.jain}};
    }
    return QJsonObject{{QStringLiteral("archivo"), file},
                       {QStringLiteral("columnas"), map.columns()},
                       {QStringLiteral("filas"), map.rows()},
                       {QStringLiteral("radio"), figures.settings.radius},
                       {QStringLiteral("bloquean"), blocking},
                       {QStringLiteral("jugadores"), players},
                       {QStringLiteral("disputadas"), figures.disputedCells},
                       {QStringLiteral("simetrias"), symmetries},
                       {QStringLiteral("medidas"), measures},
                       {QStringLiteral("veredicto"), verdictWord(figures.verdict)},
                       {QStringLiteral("motivo"), verdictReason(figures)}};
}

} // namespace quintaraz
