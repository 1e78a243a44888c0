#pragma once

// Map files made at random, valid or damaged a little, for the tests that read many files.

#include "referencemap.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRandomGenerator>

namespace mutations {

/** A valid map file of random size, terrain and starts, now and then beyond the map. */
inline QByteArray randomMapText(QRandomGenerator& random)
{
    const int width = random.bounded(16, 100);
    const int height = random.bounded(16, 100);
    QList<int> cells;
    const bool anyNumber = random.bounded(5) == 0;
    for (int k = 0; k < (width + 1) * (height + 1); ++k)
        cells.append(anyNumber ? random.bounded(-32768, 32768) : random.bounded(6));
    QList<QPoint> starts;
    for (int g = 0; g < 8 + random.bounded(3); ++g) {
        const bool beyond = random.bounded(12) == 0;
        starts.append(beyond ? QPoint(random.bounded(100), random.bounded(100))
                             : QPoint(random.bounded(width + 1), random.bounded(height + 1)));
    }
    return referencemap::write(width, height, cells, starts);
}

/** The text with one to three bytes or runs changed, removed, added or cut off. */
inline QByteArray mutated(QByteArray text, QRandomGenerator& random)
{
    static const QByteArray alphabet = ",,,- 0123456789<fin>ax\n";
    for (int i = random.bounded(1, 4); i > 0 && !text.isEmpty(); --i) {
        const qsizetype at = random.bounded(text.size());
        switch (random.bounded(4)) {
        case 0:
            text[at] = alphabet[random.bounded(alphabet.size())];
            break;
        case 1:
            text.remove(at, random.bounded(1, 20));
            break;
        case 2:
            text.insert(at, alphabet[random.bounded(alphabet.size())]);
            break;
        default:
            text.truncate(at);
        }
    }
    return text;
}

} // namespace mutations
