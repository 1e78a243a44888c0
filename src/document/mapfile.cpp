#include "document/mapfile.h"

#include "document/piecesplitter.h"
#include "system/safewriter.h"

#include <charconv>

namespace quintaraz {

namespace {

char* appendNumber(char* out, int value)
{
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

QByteArray mapText(const MapDocument& document)
{
    constexpr int numberWidth = 7; // "-32768,"
    constexpr int entryWidth = 6;  // "99 99,"
    const int cells = (document.maxwidth + 1) * (document.maxheight + 1);
    QByteArray text(2 * numberWidth + cells * numberWidth + 5 + playerCount * entryWidth,
                    Qt::Uninitialized);
    char* out = text.data();
    out = appendNumber(out, document.maxwidth);
    *out++ = ',';
    out = appendNumber(out, document.maxheight);
    *out++ = ',';
    // Each player's first start in row-major order; there is one at most.
    std::array<int, playerCount> startCell;
    startCell.fill(-1);
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int x = 0; x <= document.maxwidth; ++x) {
            const MapCell& cell = document.cells(x, y);
            out = appendNumber(out, cell.terrain);
            *out++ = ',';
            const int player = cell.playerIndex;
            if (cell.hasStart() && isPlayer(player) && startCell[player] < 0)
                startCell[player] = y * MapDocument::gridSize + x;
        }
    }
    for (char c : std::string_view("<fin>"))
        *out++ = c;
    // In player order, because the reader gives entry k to player k.
    for (const int at : startCell) {
        if (at < 0)
            continue;
        out = appendNumber(out, at % MapDocument::gridSize);
        *out++ = ' ';
        out = appendNumber(out, at / MapDocument::gridSize);
        *out++ = ',';
    }
    text.truncate(out - text.constData());
    return text;
}

bool savemap(const MapDocument& document, const QString& path, QString* error)
{
    return writeFileSafely(path, mapText(document), error);
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
