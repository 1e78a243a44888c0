#include "versions/mapgrid.h"

#include "map/gamemap.h"
#include "map/mapreading.h"
#include "map/problemtext.h"
#include "system/boundedread.h"
#include "system/filenames.h"

#include <QCryptographicHash>

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

QByteArray notAMapText(const QString& reason, QByteArrayView head, qint64 size,
                       QByteArrayView sha256)
{
    QByteArray text = "no es un mapa: " + reason.toUtf8() + '\n';
    if (size == 0)
        return text + "el archivo está vacío\n";
    text += "mide " + QByteArray::number(size) + " bytes, SHA-256 " + sha256.toByteArray().toHex() +
            '\n';
    const QByteArrayView shown = head.first(std::min(head.size(), gridShownBytes));
    const QByteArray count = QByteArray::number(shown.size());
    text +=
        shown.size() == size ? "sus " + count + " bytes: «" : "sus primeros " + count + " bytes: «";
    return text + printableName(fileNameFromBytes(shown)).toUtf8() + "»\n";
}

VersionText versionText(const QString& path)
{
    const FileBytes file =
        readFileAtMost(path, largestMapFile, InputKinds::AlsoPipes, LargeFiles::HeadAndDigest);
    const MapReading reading = readMapBytes(file);
    if (reading.outcome == LoadOutcome::Loaded)
        return {gridText(reading.map)};
    // Version control shows every version through this text, and stops at one that gives
    // none: a file that is no map is said to be none. Only what is no file to read is not.
    if (file.problem == FileProblem::TooLarge)
        return {notAMapText(describeReading(reading), file.bytes, file.size, file.sha256)};
    if (file.problem != FileProblem::None)
        return {{}, describeReading(reading)};
    return {notAMapText(describeReading(reading), file.bytes, file.bytes.size(),
                        QCryptographicHash::hash(file.bytes, QCryptographicHash::Sha256))};
}

} // namespace quintaraz
