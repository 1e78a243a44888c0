#include "mapfile.h"

#include "piecesplitter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <limits>

namespace quintaraz {

namespace {

// Files up to this size are read into memory; larger ones are mapped, so that
// even a huge damaged file neither fills the memory nor takes long.
constexpr qint64 readLimit = 64 * 1024 * 1024;

enum class Number { Valid, NotANumber, OutOfRange };

// A number is an optional "-" followed by one or more ASCII digits and nothing else.
// Any count of digits is read without overflow: past the 16-bit range only the
// digits are still checked.
inline Number toInt16(std::string_view text, std::int16_t& value)
{
    // Most pieces of a map file are a single digit.
    if (text.size() == 1) {
        const unsigned digit = unsigned(text[0]) - '0';
        if (digit > 9)
            return Number::NotANumber;
        value = std::int16_t(digit);
        return Number::Valid;
    }
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    if (p == end)
        return Number::NotANumber;
    int magnitude = 0;
    for (; p != end; ++p) {
        const unsigned digit = unsigned(*p) - '0';
        if (digit > 9)
            return Number::NotANumber;
        magnitude = std::min(magnitude * 10 + int(digit), 40000);
    }
    const int result = negative ? -magnitude : magnitude;
    if (result < std::numeric_limits<std::int16_t>::min() ||
        result > std::numeric_limits<std::int16_t>::max())
        return Number::OutOfRange;
    value = static_cast<std::int16_t>(result);
    return Number::Valid;
}

LoadOutcome failure(Number kind)
{
    return kind == Number::NotANumber ? LoadOutcome::FormatError : LoadOutcome::ReadFailure;
}

/** A map read from a file, held apart until the whole file has proved good. */
struct ParsedMap {
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::array<std::int16_t, MapDocument::gridSize * MapDocument::gridSize> terrain;
    std::array<std::int16_t, MapDocument::playerCount> startX;
    std::array<std::int16_t, MapDocument::playerCount> startY;
};

LoadOutcome parseMap(std::string_view text, ParsedMap& map)
{
    PieceSplitter sections(text, "<fin>");
    std::string_view numberPart;
    std::string_view startPart;
    if (!sections.next(numberPart) || !sections.next(startPart))
        return LoadOutcome::NotReadable;

    PieceSplitter numbers(numberPart, ",");
    std::string_view piece;
    if (!numbers.next(piece) || toInt16(piece, map.width) != Number::Valid)
        return LoadOutcome::NotReadable;
    if (!numbers.next(piece) || toInt16(piece, map.height) != Number::Valid)
        return LoadOutcome::NotReadable;
    if (map.width < MapDocument::minSize || map.width > MapDocument::maxSize ||
        map.height < MapDocument::minSize || map.height > MapDocument::maxSize)
        return LoadOutcome::SizeRejected;

    const int cellCount = (map.width + 1) * (map.height + 1);
    for (int k = 0; k < cellCount; ++k) {
        if (!numbers.next(piece))
            return LoadOutcome::ReadFailure;
        if (const Number kind = toInt16(piece, map.terrain[k]); kind != Number::Valid)
            return failure(kind);
    }

    PieceSplitter entries(startPart, ",");
    for (int g = 0; g < MapDocument::playerCount; ++g) {
        std::string_view entry;
        if (!entries.next(entry))
            return LoadOutcome::ReadFailure;
        PieceSplitter parts(entry, " ");
        std::string_view xText;
        std::string_view yText;
        if (!parts.next(xText) || !parts.next(yText))
            return LoadOutcome::ReadFailure;
        std::int16_t x = 0;
        std::int16_t y = 0;
        if (const Number kind = toInt16(xText, x); kind != Number::Valid)
            return failure(kind);
        if (const Number kind = toInt16(yText, y); kind != Number::Valid)
            return failure(kind);
        if (!MapDocument::inGrid(x, y))
            return LoadOutcome::ReadFailure;
        map.startX[g] = x;
        map.startY[g] = y;
    }
    return LoadOutcome::Loaded;
}

void apply(const ParsedMap& map, MapDocument& document)
{
    document.maxwidth = map.width;
    document.maxheight = map.height;
    // Column by column, the grid's own order in memory.
    const int columns = map.width + 1;
    for (int x = 0; x <= map.width; ++x) {
        MapCell* column = &document.cells(x, 0);
        for (int y = 0; y <= map.height; ++y)
            column[y].terrain = map.terrain[y * columns + x];
    }
    // The file's starts replace every start in the grid, so that the flags can follow
    // the cells: an opened map with its eight starts can be saved at once.
    document.clearStartMarks();
    for (int g = 0; g < MapDocument::playerCount; ++g) {
        MapCell& cell = document.cells(map.startX[g], map.startY[g]);
        cell.isStart = -1;
        cell.playerIndex = static_cast<std::int16_t>(g);
    }
    document.syncStartPlaced();
}

char* appendNumber(char* out, int value)
{
    return std::to_chars(out, out + 8, value).ptr;
}

} // namespace

LoadOutcome loadmapText(MapDocument& document, std::string_view text)
{
    ParsedMap map;
    const LoadOutcome outcome = parseMap(text, map);
    if (outcome == LoadOutcome::Loaded)
        apply(map, document);
    return outcome;
}

LoadOutcome loadmap(MapDocument& document, const QString& path)
{
    // Only plain files: a FIFO or a device could block or never end.
    const QFileInfo info(path);
    if (!info.isFile())
        return LoadOutcome::NotReadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadOutcome::NotReadable;
    const qint64 size = file.size();
    if (size > readLimit) {
        const uchar* data = file.map(0, size);
        if (!data)
            return LoadOutcome::NotReadable;
        return loadmapText(document,
                           std::string_view(reinterpret_cast<const char*>(data), size_t(size)));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadOutcome::NotReadable;
    return loadmapText(document, std::string_view(bytes.constData(), size_t(bytes.size())));
}

QByteArray mapText(const MapDocument& document)
{
    constexpr int numberWidth = 7; // "-32768,"
    constexpr int entryWidth = 6;  // "99 99,"
    const int cells = (document.maxwidth + 1) * (document.maxheight + 1);
    QByteArray text(2 * numberWidth + cells * numberWidth + 5 +
                        MapDocument::playerCount * entryWidth,
                    Qt::Uninitialized);
    char* out = text.data();
    out = appendNumber(out, document.maxwidth);
    *out++ = ',';
    out = appendNumber(out, document.maxheight);
    *out++ = ',';
    // Each player's first start in row-major order; there is one at most.
    std::array<int, MapDocument::playerCount> startCell;
    startCell.fill(-1);
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int x = 0; x <= document.maxwidth; ++x) {
            const MapCell& cell = document.cells(x, y);
            out = appendNumber(out, cell.terrain);
            *out++ = ',';
            const int player = cell.playerIndex;
            if (cell.startMark() && player >= 0 && player < MapDocument::playerCount &&
                startCell[player] < 0)
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
    const QByteArray text = mapText(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
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
