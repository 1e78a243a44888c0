#pragma once

#include "map/gamemap.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace quintaraz {

struct BalanceFigures;
struct MapDifference;

/** A terrain's name as people read it, its number if it has none, or "fuera del mapa". */
QString terrainLabel(std::optional<std::int16_t> terrain);

/**
 * What diff says of two maps, for people: the size if it changed, the changed cells in
 * rectangles or runs with their terrain before and after, each player whose start moved
 * ("jugador 3: columna 8, fila 8 → columna 9, fila 9"), and the totals; or that they are the
 * same map. The names are shown as printableName shows them.
 */
QString differenceText(const QString& before, const QString& after,
                       const MapDifference& difference);
/**
 * The same facts for programs: one entry per changed cell and per player's start, the
 * names as the text shows them, and the entries of more, such as the balance before and after.
 */
QJsonObject differenceJson(const QString& before, const QString& after,
                           const MapDifference& difference, const QJsonObject& more = {});

/**
 * How a change moved the balance, in one line: "equilibrio: equilibrado → desequilibrado:
 * árboles a 24 pasos, jugador 3 tiene 4 y el jugador 6 tiene 31 (razón 0.13)", the reason
 * being the new map's.
 */
QString balanceChangeText(const BalanceFigures& was, const BalanceFigures& is);
/** The same for JSON: {"equilibrio": {"antes", "despues"}}, each with the verdict, its reason
 * and the five measures' ratios. */
QJsonObject balanceChangeJson(const BalanceFigures& was, const BalanceFigures& is);

} // namespace quintaraz
