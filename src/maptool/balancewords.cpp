#include "maptool/balancewords.h"

#include <QStringList>

#include <array>

namespace quintaraz {

namespace {

/** The symmetries' names, in the order of Symmetry. */
constexpr std::array<const char*, allSymmetries.size()> symmetryNames{
    "espejo-vertical", "espejo-horizontal", "giro-180", "giro-90", "diagonal", "antidiagonal"};

} // namespace

QString symmetryWord(Symmetry symmetry)
{
    return QLatin1String(symmetryNames[std::size_t(symmetry)]);
}

QString measureWord(BalanceMeasure measure, int radius)
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
        return QStringLiteral("rival más cercano");
    }
    return {};
}

QStringList exactSymmetries(const BalanceFigures& figures)
{
    QStringList names;
    for (const SymmetryCheck& check : figures.symmetries)
        if (check.exact())
            names << symmetryWord(check.symmetry);
    return names;
}

} // namespace quintaraz
