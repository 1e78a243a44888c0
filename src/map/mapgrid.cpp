#include "map/mapgrid.h"

#include "map/gamemap.h"

namespace quintaraz {

namespace {

QByteArray place(int x, int y)
{
    return "columna " + QByteArray::number(x) + ", fila " + QByteArray::number(y);
}

} // namespace

QByteArray gridText(const GameMap& map)
{
    QByteArray text = "tamaño: " + QByteArray::number(map.columns()) + " x " +
                      QByteArray::number(map.rows()) + '\n';
    text.reserve(text.size() + map.cellCount() + map.rows() + 64 * (playerCount + 1));
    QByteArray unknown;
    for (int y = 0; y < map.rows(); ++y) {
        for (int x = 0; x < map.columns(); ++x) {
            const int terrain = map.terrainAt(x, y);
            if (isTerrain(terrain)) {
                text += char('0' + terrain);
                continue;
            }
            text += '?';
            unknown += "terreno " + QByteArray::number(terrain) + " en la " + place(x, y) + '\n';
        }
        text += '\n';
    }
    text += unknown;
    for (const GridPoint start : map.startCells())
        text += "comienzo en la " + place(start.x, start.y) + '\n';
    if (!map.extraStarts.empty())
        text += "tras el octavo comienzo: " +
                QByteArray(map.extraStarts.data(), qsizetype(map.extraStarts.size())) + '\n';
    return text;
}

} // namespace quintaraz
