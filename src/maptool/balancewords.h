#pragma once

#include "balance/balancefigures.h"

#include <QString>

namespace quintaraz {

/** A symmetry's name as balance says it: "espejo-vertical", "giro-180", ... */
QString symmetryWord(Symmetry symmetry);

/** A measure's name with the steps it counts within: "árboles a 24 pasos". */
QString measureWord(BalanceMeasure measure, int radius);

/** The exact symmetries of a map, by name, in the order balance lists them. */
QStringList exactSymmetries(const BalanceFigures& figures);

} // namespace quintaraz
