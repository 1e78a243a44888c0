#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

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
 * versions as well, and a change anywhere in one: "no es un mapa: " and the reader's reason,
 * the file's size and SHA-256, then its first bytes (at most gridShownBytes of head, which
 * is the file's beginning), escaped as names are in messages.
 */
QByteArray notAMapText(const QString& reason, QByteArrayView head, qint64 size,
                       QByteArrayView sha256);

/** What version control shows of a file, or why there is no file to show. */
struct VersionText {
    QByteArray text;
    QString problem{}; // no file, a folder, a file that cannot be read: nothing to show
};

/**
 * A file as version control shows it: gridText of a map, notAMapText of what is not one (a
 * file of any size, read in pieces past the largest map). A pipe, or "-", is read as well.
 */
VersionText versionText(const QString& path);

/** How many of a file's bytes notAMapText shows. */
constexpr qsizetype gridShownBytes = 256;

} // namespace quintaraz
