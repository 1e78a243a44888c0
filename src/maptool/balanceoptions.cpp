#include "maptool/balanceoptions.h"

#include "maptool/commandparser.h"

namespace quintaraz {

namespace {

/** The largest radius taken: 4R steps stay within what a distance holds. */
constexpr int largestRadius = 10000;

/** A terrain's name as it is compared: lower case, no accents, one space between words. */
QString plainName(const QString& name)
{
    QString plain;
    for (const QChar character : name.normalized(QString::NormalizationForm_D))
        if (character.category() != QChar::Mark_NonSpacing)
            plain += character == u'_' || character == u'-' ? QChar(u' ') : character.toLower();
    return plain.simplified();
}

/** The terrain a list item names, by number or by name; nothing for another. */
std::optional<int> terrainNamed(const QString& item)
{
    bool number = false;
    const int terrain = item.trimmed().toInt(&number);
    if (number)
        return isTerrain(terrain) ? std::optional(terrain) : std::nullopt;
    const QString plain = plainName(item);
    for (int t = 0; t < terrainCount; ++t)
        if (plain == plainName(QString::fromUtf8(terrainNames[std::size_t(t)])))
            return t;
    return std::nullopt;
}

} // namespace

std::optional<std::array<bool, terrainCount>> blockingTerrains(const QString& list)
{
    std::array<bool, terrainCount> blocking{};
    if (list.trimmed().isEmpty())
        return blocking; // nothing known blocks
    for (const QString& item : list.split(u',')) {
        const std::optional<int> terrain = terrainNamed(item);
        if (!terrain)
            return std::nullopt;
        blocking[std::size_t(*terrain)] = true;
    }
    return blocking;
}

BalanceOptions::BalanceOptions(CommandParser& line)
    : line_(line)
    , radius_(line.option(QStringLiteral("radius"),
                          QStringLiteral("R, los pasos del espacio y de los recursos, de 1 a %1.")
                              .arg(largestRadius),
                          QStringLiteral("N"), QString::number(defaults_.radius)))
    , threshold_(line.option(QStringLiteral("threshold"),
                             QStringLiteral("La menor razón peor/mejor de un mapa equilibrado, de "
                                            "0 a 1."),
                             QStringLiteral("R"), QString::number(defaults_.threshold)))
    , blocking_(line.option(QStringLiteral("blocking"),
                            QStringLiteral("Los terrenos que cortan el paso, separados por comas, "
                                           "por número o por nombre: 1,2 o roca,agua."),
                            QStringLiteral("LISTA"), QStringLiteral("roca,agua")))
{
}

std::optional<BalanceSettings> BalanceOptions::read() const
{
    BalanceSettings settings;
    bool number = false;
    settings.radius = line_.value(radius_).toInt(&number);
    if (!number || settings.radius < 1 || settings.radius > largestRadius)
        return line_.usageError(
                   QStringLiteral("--radius pide un número de pasos de 1 a %1").arg(largestRadius)),
               std::nullopt;
    // A decimal comma is what a Spanish keyboard types.
    settings.threshold = QString(line_.value(threshold_)).replace(u',', u'.').toDouble(&number);
    if (!number || !(settings.threshold >= 0 && settings.threshold <= 1))
        return line_.usageError(QStringLiteral("--threshold pide una razón de 0 a 1, como 0.9")),
               std::nullopt;
    const auto terrains = blockingTerrains(line_.value(blocking_));
    if (!terrains)
        return line_.usageError(QStringLiteral("--blocking pide terrenos separados por comas, por "
                                               "número del 0 al 5 o por nombre, como 1,2,3 o "
                                               "roca,agua,árbol")),
               std::nullopt;
    settings.blocking = *terrains;
    return settings;
}

} // namespace quintaraz
