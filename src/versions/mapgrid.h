#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quintaraz {

struct GameMap;

/**
 * The map as lines of text for version control: the size on a line of its own, then one
 * line a row with one character a cell (its terrain's number, "?" for a number the editor
 * does not know, which a line of its own then gives), then each player's start, a line
 * each ("jugador 1: columna 2, fila 3"), then what followed the eighth start, if anything.
 * A change of one cell is a change of one character of one line; a start that moves, a
 * change of its player's line.
 */
QByteArray gridText(const GameMap& map);

/**
 * The text in place of a file that is not a map, so that version control shows its
 * versions as well: "no es un mapa: " and the reader's reason, then the file's first bytes
 * (at most gridShownBytes), escaped as names are in messages. whole says that bytes are all
 * the file holds, not only its beginning.
 */
QByteArray notAMapText(const QString& reason, QByteArrayView bytes, bool whole);

/** How many of a file's bytes notAMapText shows. */
constexpr qsizetype gridShownBytes = 256;

} // namespace quintaraz
