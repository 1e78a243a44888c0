#pragma once

#include <QString>
#include <QStringList>

namespace quintaraz {

struct MapMerge;
struct MergeConflict;

/**
 * A conflict of a merge as the map maker reads it on standard error: where, and the base's,
 * ours' and theirs' values in words ("conflicto en el comienzo del jugador 3: base columna
 * 8, fila 8; nuestro columna 9, fila 9; suyo columna 9, fila 10: queda el nuestro").
 */
QString conflictText(const MergeConflict& conflict);

/**
 * The conflicts of a merge, a line each, cells in conflict grouped in rectangles as diff
 * groups changes ("conflicto en 60 casillas, columnas 10–29, filas 5–7: base Hierba; nuestro
 * Agua; suyo Roca: queda el nuestro"), then a count; nothing for a clean merge.
 */
QStringList conflictLines(const MapMerge& merged);

} // namespace quintaraz
