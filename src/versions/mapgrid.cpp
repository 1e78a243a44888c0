#include "versions/mapgrid.h"

#include "map/gamemap.h"
#include "map/problemtext.h"
#include "system/filenames.h"

#include <algorithm>

namespace quintaraz {

namespace {

QByteArray place(int x, int y)
{
    return cellPlace(x, y).toUtf8();
}

} // namespace

QByteArray gridText(const GameMap& map)
{
    QByteArray text = "tamaño: " + sizeText(map.columns(), map.rows()).toUtf8() + '\n';
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
    for (int g = 0; g < playerCount; ++g)
        if (const std::optional<GridPoint> start = map.starts[g])
            text +=
                "jugador " + QByteArray::number(g + 1) + ": " + place(start->x, start->y) + '\n';
    if (!map.extraStarts.empty())
        text += "tras el octavo comienzo: " +
                QByteArray(map.extraStarts.data(), qsizetype(map.extraStarts.size())) + '\n';
    return text;
}

QByteArray notAMapText(const QString& reason, QByteArrayView bytes, bool whole)
{
    QByteArray text = "no es un mapa: " + reason.toUtf8() + '\n';
    if (bytes.isEmpty())
        return whole ? text + "el archivo está vacío\n" : text;
    const QByteArrayView shown = bytes.first(std::min(bytes.size(), gridShownBytes));
    const QByteArray count = QByteArray::number(shown.size());
    text += whole && shown.size() == bytes.size() ? "sus " + count + " bytes: «"
                                                  : "sus primeros " + count + " bytes: «";
    return text + printableName(fileNameFromBytes(shown)).toUtf8() + "»\n";
}

} // namespace quintaraz
