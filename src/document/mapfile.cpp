#include "document/mapfile.h"

#include "document/piecesplitter.h"
#include "system/safewriter.h"

#include <algorithm>
#include <charconv>
#include <optional>

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

LoadOutcome loadmapText(MapDocument& document, std::string_view text)
{
    const MapReading reading = readMapText(text);
    if (reading.outcome == LoadOutcome::Loaded)
        takeMap(reading, document);
    return reading.outcome;
}

LoadOutcome loadmap(MapDocument& document, const QString& path)
{
    const MapReading reading = readMapFile(path);
    if (reading.outcome == LoadOutcome::Loaded)
        takeMap(reading, document);
    return reading.outcome;
}

namespace {

/**
 * The one line of a map file: header, the terrain of every cell row by row as terrainAt
 * gives it, "<fin>", then the starts that there are, in player order, because the reader
 * gives entry k to player k.
 */
template <typename TerrainAt>
QByteArray fileText(int maxwidth, int maxheight, TerrainAt terrainAt,
                    const std::array<std::optional<GridPoint>, playerCount>& starts)
{
    constexpr int numberWidth = 7; // "-32768,"
    constexpr int entryWidth = 6;  // "99 99,"
    const int cells = (maxwidth + 1) * (maxheight + 1);
    QByteArray text(2 * numberWidth + cells * numberWidth + 5 + playerCount * entryWidth,
                    Qt::Uninitialized);
    char* out = text.data();
    out = appendNumber(out, maxwidth);
    *out++ = ',';
    out = appendNumber(out, maxheight);
    *out++ = ',';
    for (int y = 0; y <= maxheight; ++y) {
        for (int x = 0; x <= maxwidth; ++x) {
            out = appendNumber(out, terrainAt(x, y));
            *out++ = ',';
        }
    }
    for (char c : std::string_view("<fin>"))
        *out++ = c;
    for (const std::optional<GridPoint>& start : starts) {
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

} // namespace

QByteArray mapText(const MapDocument& document)
{
    // Each player's first start in row-major order inside the map; there is one at most.
    std::array<std::optional<GridPoint>, playerCount> starts;
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int x = 0; x <= document.maxwidth; ++x) {
            const MapCell& cell = document.cells(x, y);
            const int player = cell.playerIndex;
            if (cell.hasStart() && isPlayer(player) && !starts[player])
                starts[player] = GridPoint{std::int16_t(x), std::int16_t(y)};
        }
    }
    return fileText(
        document.maxwidth, document.maxheight,
        [&](int x, int y) { return document.cells(x, y).terrain; }, starts);
}

QByteArray mapText(const MapReading& map)
{
    std::array<std::optional<GridPoint>, playerCount> starts;
    std::copy(map.starts.begin(), map.starts.end(), starts.begin());
    const int columns = map.columns();
    return fileText(
        map.maxwidth, map.maxheight, [&](int x, int y) { return map.terrain[y * columns + x]; },
        starts);
}

bool savemap(const MapDocument& document, const QString& path, QString* error)
{
    return writeFileSafely(path, mapText(document), error);
}

bool savemap(const MapReading& map, const QString& path, QString* error)
{
    return writeFileSafely(path, mapText(map), error);
}

bool hasMapExtension(const QString& fileTitle)
{
    const QByteArray title = fileTitle.toUtf8();
    PieceSplitter pieces(std::string_view(title.constData(), size_t(title.size())), ".");
    std::string_view piece;
    std::string_view last;
    bool any = false;
    while (pieces.next(piece)) {
        last = piece;
        any = true;
    }
    return any && last == "map";
}

} // namespace quintaraz
