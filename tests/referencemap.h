#pragma once

// A second, deliberately plain reading and writing of the map file, written straight from
// the format's rules with QByteArray, to check the editor's own fast reader and writer.

#include "map/mapreading.h"

#include <QByteArray>

#include <QList>
#include <QPoint>
#include <QString>
#include <algorithm>

namespace referencemap {

using quintaraz::LoadOutcome;

struct Map {
    LoadOutcome outcome = LoadOutcome::NotReadable;
    int width = 0;
    int height = 0;
    QList<int> terrain;   // row by row
    QList<QPoint> starts; // entry k is player k's
};

inline QList<QByteArray> pieces(const QByteArray& text, const QByteArray& separator)
{
    QList<QByteArray> out;
    if (text.isEmpty())
        return out;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(separator, from);
        if (at < 0) {
            out.append(text.mid(from));
            return out;
        }
        out.append(text.mid(from, at - from));
        from = at + separator.size();
    }
}

enum class Number { Valid, NotANumber, TooLarge };

inline Number number(const QByteArray& piece, int& value)
{
    const QByteArray digits = piece.startsWith('-') ? piece.mid(1) : piece;
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return Number::NotANumber;
    bool ok = false;
    const qlonglong parsed = piece.toLongLong(&ok);
    if (!ok || parsed < -32768 || parsed > 32767)
        return Number::TooLarge;
    value = int(parsed);
    return Number::Valid;
}

inline LoadOutcome failure(Number n)
{
    return n == Number::NotANumber ? LoadOutcome::FormatError : LoadOutcome::ReadFailure;
}

inline Map read(const QByteArray& text)
{
    Map map;
    const QList<QByteArray> sections = pieces(text, "<fin>");
    if (sections.size() < 2)
        return map;
    const QList<QByteArray> numbers = pieces(sections[0], ",");
    const QList<QByteArray> entries = pieces(sections[1], ",");
    if (numbers.size() < 2 || number(numbers[0], map.width) != Number::Valid ||
        number(numbers[1], map.height) != Number::Valid)
        return map;
    if (map.width < 16 || map.width > 99 || map.height < 16 || map.height > 99) {
        map.outcome = LoadOutcome::SizeRejected;
        return map;
    }
    const int cells = (map.width + 1) * (map.height + 1);
    for (int k = 2; k < 2 + cells; ++k) {
        int value = 0;
        if (k >= numbers.size()) {
            map.outcome = LoadOutcome::ReadFailure;
            return map;
        }
        if (const Number n = number(numbers[k], value); n != Number::Valid) {
            map.outcome = failure(n);
            return map;
        }
        map.terrain.append(value);
    }
    for (int g = 0; g < 8; ++g) {
        const QList<QByteArray> parts =
            g < entries.size() ? pieces(entries[g], " ") : QList<QByteArray>();
        if (parts.size() < 2) {
            map.outcome = LoadOutcome::ReadFailure;
            return map;
        }
        int x = 0;
        int y = 0;
        if (const Number n = number(parts[0], x); n != Number::Valid) {
            map.outcome = failure(n);
            return map;
        }
        if (const Number n = number(parts[1], y); n != Number::Valid) {
            map.outcome = failure(n);
            return map;
        }
        if (x < 0 || x > 99 || y < 0 || y > 99) {
            map.outcome = LoadOutcome::ReadFailure;
            return map;
        }
        map.starts.append(QPoint(x, y));
    }
    map.outcome = LoadOutcome::Loaded;
    return map;
}

/** The first difference between a map as read and as this reader reads it, or nothing. */
inline QString difference(const quintaraz::GameMap& map, const Map& expected)
{
    if (map.maxwidth != expected.width || map.maxheight != expected.height)
        return QStringLiteral("size %1 x %2").arg(map.maxwidth).arg(map.maxheight);
    if (map.terrain.size() != std::size_t(expected.terrain.size()))
        return QStringLiteral("%1 cells").arg(map.terrain.size());
    for (qsizetype k = 0; k < expected.terrain.size(); ++k)
        if (map.terrain[std::size_t(k)] != expected.terrain[k])
            return QStringLiteral("cell %1: %2, expected %3")
                .arg(k)
                .arg(map.terrain[std::size_t(k)])
                .arg(expected.terrain[k]);
    for (int g = 0; g < 8; ++g) {
        const std::optional<quintaraz::GridPoint> start = map.starts[g];
        if (!start || QPoint(start->x, start->y) != expected.starts.value(g, QPoint(-1, -1)))
            return QStringLiteral("start of player %1").arg(g + 1);
    }
    return {};
}

/** The text a map file must hold: starts in player order, players without one left out. */
inline QByteArray write(int width, int height, const QList<int>& terrain,
                        const QList<QPoint>& starts)
{
    QByteArray text = QByteArray::number(width) + ',' + QByteArray::number(height) + ',';
    for (int value : terrain)
        text += QByteArray::number(value) + ',';
    text += "<fin>";
    for (const QPoint& start : starts)
        if (start.x() >= 0)
            text += QByteArray::number(start.x()) + ' ' + QByteArray::number(start.y()) + ',';
    return text;
}

} // namespace referencemap
