#pragma once

#include <QByteArray>

namespace quintaraz {

struct GameMap;

/**
 * The map as lines of text for version control: the size on a line of its own, then one
 * line a row with one character a cell (its terrain's number, "?" for a number the editor
 * does not know, which a line of its own then gives), then the start cells in row-major
 * order, a line each, then what followed the eighth start, if anything. A change of one
 * cell is a change of one character of one line.
 */
QByteArray gridText(const GameMap& map);

} // namespace quintaraz
