#include "document/mapfile.h"

#include "document/piecesplitter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintaraz {

namespace {

/** Closes a file descriptor when it goes. */
struct FileDescriptor {
    explicit FileDescriptor(int descriptor)
        : fd(descriptor)
    {
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    const int fd;
};

enum class Number { Valid, NotANumber, OutOfRange };

// A number is an optional "-" followed by one or more ASCII digits and nothing else, of
// any length: past the 16-bit range it is still a number, only too large.
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
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error == std::errc::invalid_argument || stop != end)
        return Number::NotANumber;
    return error == std::errc() ? Number::Valid : Number::OutOfRange;
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
    std::array<std::int16_t, playerCount> startX;
    std::array<std::int16_t, playerCount> startY;
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
    if (!mapSizeLimits.contains(map.width) || !mapSizeLimits.contains(map.height))
        return LoadOutcome::SizeRejected;

    const int cellCount = (map.width + 1) * (map.height + 1);
    for (int k = 0; k < cellCount; ++k) {
        if (!numbers.next(piece))
            return LoadOutcome::ReadFailure;
        if (const Number kind = toInt16(piece, map.terrain[k]); kind != Number::Valid)
            return failure(kind);
    }

    PieceSplitter entries(startPart, ",");
    for (int g = 0; g < playerCount; ++g) {
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
    for (int g = 0; g < playerCount; ++g)
        document.cells(map.startX[g], map.startY[g]).markStart(g);
    document.syncStartPlaced();
}

/**
 * Gives the new file the owner, group and mode of the one it replaces, as far as this
 * process may: only root may give a file away, an owner may still set a group of its own.
 * What cannot be set stays as the save file made it.
 */
bool keepOwnerAndMode(int fd, const struct stat& old)
{
    const bool owner =
        ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
    // After fchown, which clears the set-id bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0 && owner;
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
    // Non-blocking: some files say they are plain files and then never give a byte.
    const FileDescriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > largestMapFile)
        return LoadOutcome::NotReadable;
    // Plain reads, never a mapping that a file cut short underneath would turn into SIGBUS.
    // Some files report a size of 0 and have text, so read on to the end, but never more
    // than a map can be.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > largestMapFile)
                return LoadOutcome::NotReadable;
            bytes.resize(std::min<qsizetype>(2 * filled + 4096, largestMapFile + 1));
        }
        const ssize_t count = ::read(file.fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count == 0)
            break;
        if (count < 0 && errno != EINTR)
            return LoadOutcome::NotReadable;
        filled += std::max<ssize_t>(count, 0);
    }
    return loadmapText(document, std::string_view(bytes.constData(), size_t(filled)));
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
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    // What is replaced is what a link leads to, and only a plain file: a device, a pipe or a
    // folder there must never become a map.
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat existing {};
    const bool replacing = ::stat(nativePath.constData(), &existing) == 0;
    if (!replacing && errno != ENOENT)
        return fail(qt_error_string(errno));
    if (replacing && !S_ISREG(existing.st_mode))
        return fail(
            QStringLiteral("%1 no es un archivo normal").arg(QDir::toNativeSeparators(path)));

    // Unbuffered: a buffered write that fails when it is flushed inside commit() goes
    // unnoticed and a short file replaces the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    const QByteArray text = mapText(document);
    for (qint64 written = 0; written < text.size();) {
        // A short write (the disk filled up) is followed by one that says why.
        const qint64 count = file.write(text.constData() + written, text.size() - written);
        if (count <= 0)
            return fail(file.errorString());
        written += count;
    }
    if (replacing)
        keepOwnerAndMode(file.handle(), existing);
    // Every byte is on the disk before the new file takes the old one's place.
    if (::fsync(file.handle()) != 0)
        return fail(qt_error_string(errno));
    if (!file.commit())
        return fail(file.errorString());
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
