#pragma once

#include "map/mapproblems.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace quintaraz {

/** A number appended to a text from the stack, as a long report of many numbers wants it. */
void appendNumber(QString& text, qint64 number);

/** A map's size as map makers write it, columns by rows: "60x40". */
QString sizeText(qint64 columns, qint64 rows);

/** A cell as map makers read it: "columna 3, fila 4". */
QString cellPlace(qint64 column, qint64 row);
QString cellPlace(GridPoint cell);
/** The same appended to a text, as a long report of many cells wants it: quickly. */
void appendCellPlace(QString& text, qint64 column, qint64 row);
/** A rectangle of cells, appended: "columnas 10–14, filas 3–5", "columna 3, fila 4". */
void appendAreaPlace(QString& text, const CellArea& area);

/** A terrain's name as a label shows it: "Hierba", or "terreno 7" for a number that names none. */
QString terrainName(int terrain);
/** The same inside a sentence: "hierba", or "el terreno 7". */
QString terrainWord(int terrain);

/** What a problem says to map makers, in Spanish: one sentence, with what to do where it helps. */
QString problemText(const MapProblem& problem);

/**
 * The same problem for programs: its kind ("tipo", as problemKey gives it), its sentence
 * ("texto"), its player or two players ("jugador", "jugadores", from 1), its cell ("columna",
 * "fila"), its areas ("zonas") and its layer ("capa"), each where it has one.
 */
QJsonObject problemJson(const MapProblem& problem);
/** Each problem so, in a list. */
QJsonArray problemsJson(const std::vector<MapProblem>& problems);
/** A kind's name in JSON: "comienzo_fuera_del_mapa", ... */
QString problemKey(ProblemKind kind);

} // namespace quintaraz
