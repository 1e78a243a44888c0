#pragma once

#include <QSize>
#include <QString>

namespace quintaraz {

class HtmlWriter;
struct BalanceFigures;
struct GameMap;

/** A picture of a map on a page: its file, from the site's root, and its size and text. */
struct PagePicture {
    QString path;
    QSize size;
    QString alt;     // what it shows, for those who do not see it
    QString caption; // what made it
};

/**
 * The parts of a page about one map, each written whole into a page: its pictures with the
 * players' numbers over their markers, its verdict, and the tables of its players, measures
 * and symmetries. Gallery pages show one map with them; a review page can show two.
 */
namespace mapsections {

/**
 * The picture, each start's player number laid over it beside its marker (on the page, not
 * in the picture: it stays render's), and the caption.
 */
void writeNumberedPicture(HtmlWriter& page, const PagePicture& picture, const GameMap& map);

/** The verdict in words and in colour, and why. */
void writeVerdict(HtmlWriter& page, const BalanceFigures& figures);

/** One row a player: start, region, space, resources, territory, rivals and pass. */
void writePlayersTable(HtmlWriter& page, const GameMap& map, const BalanceFigures& figures);

/** The five measures: worst and best players, ratio and Jain's index; the weakest marked. */
void writeMeasuresTable(HtmlWriter& page, const BalanceFigures& figures);

/** Each symmetry that fits the map: terrain it breaks, whether starts match, whether exact. */
void writeSymmetriesTable(HtmlWriter& page, const BalanceFigures& figures);

/** A verdict's class in the stylesheet, which gives it its colour: its word. */
QString verdictClass(const BalanceFigures& figures);

} // namespace mapsections

} // namespace quintaraz
