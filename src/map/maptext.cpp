#include "map/maptext.h"

#include "system/safewriter.h"

#include <charconv>
#include <string_view>

namespace quintaraz {

namespace {

char* appendNumber(char* out, int value)
{
    // Nearly every number of a map is a terrain of one digit.
    if (unsigned(value) < 10) {
        *out = char('0' + value);
        return out + 1;
    }
    return std::to_chars(out, out + 8, value).ptr;
}

} // namespace

QByteArray mapText(const GameMap& map)
{
    constexpr int numberWidth = 7; // "-32768,"
    constexpr int entryWidth = 6;  // "99 99,"
    const int cells = map.cellCount();
    QByteArray text(2 * numberWidth + cells * numberWidth + 5 + playerCount * entryWidth,
                    Qt::Uninitialized);
    char* out = text.data();
    out = appendNumber(out, map.maxwidth);
    *out++ = ',';
    out = appendNumber(out, map.maxheight);
    *out++ = ',';
    for (int k = 0; k < cells; ++k) {
        out = appendNumber(out, map.terrain[k]);
        *out++ = ',';
    }
    for (char c : std::string_view("<fin>"))
        *out++ = c;
    for (const std::optional<GridPoint>& start : map.starts) {
        if (!start)
            continue;
        out = appendNumber(out, start->x);
        *out++ = ' ';
        out = appendNumber(out, start->y);
        *out++ = ',';
    }
    text.truncate(out - text.constData());
    return text;
}

bool savemap(const GameMap& map, const QString& path, QString* error)
{
    return writeFileSafely(path, mapText(map), error);
}

} // namespace quintaraz
