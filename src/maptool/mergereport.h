#pragma once

#include <QString>

namespace quintaraz {

struct MergeConflict;

/**
 * A conflict of a merge as the map maker reads it on standard error: where, and the base's,
 * ours' and theirs' values ("conflicto en la columna 5, fila 5: Hierba → Agua / Roca").
 */
QString conflictText(const MergeConflict& conflict);

} // namespace quintaraz
