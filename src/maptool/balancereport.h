#pragma once

#include <QJsonObject>
#include <QString>

namespace quintaraz {

struct BalanceFigures;
struct GameMap;
enum class BalanceMeasure;
enum class BalanceVerdict;
enum class Symmetry;

/** "equilibrado", "desequilibrado" or "injusto". */
QString verdictWord(BalanceVerdict verdict);

/** A measure's name with the steps it counts within, as the tables and the reason say it. */
QString measureLabel(BalanceMeasure measure, int radius);

/** A symmetry's name: "espejo-vertical", "giro-180", ... */
QString symmetryName(Symmetry symmetry);

/**
 * Why a map gets its verdict, in one sentence: for an unfair map, which starts are on no
 * passable cell and which groups of starts no path joins; otherwise the measure of least
 * ratio with its worst and best players ("árboles a 24 pasos, jugador 3 tiene 4 y el jugador
 * 6 tiene 31 (razón 0.13)").
 */
QString verdictReason(const BalanceFigures& figures);

/**
 * What balance says of a map, for people, in lines of at most 80 columns: the figures of
 * the eight players side by side, the disputed cells, the symmetries, the five measures and
 * the verdict.
 */
QString balanceText(const QString& file, const GameMap& map, const BalanceFigures& figures);

/** Each of the five measures' ratio of worst to best, by its key: {"espacio": 0.6, ...}. */
QJsonObject measureRatiosJson(const BalanceFigures& figures);

/** The same figures for programs, under the keys that bots and CI jobs read. */
QJsonObject balanceJson(const QString& file, const GameMap& map, const BalanceFigures& figures);

} // namespace quintaraz
