#include "document/mapfile.h"

#include "document/piecesplitter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <charconv>
#include <sys/stat.h>
#include <unistd.h>

namespace quintaraz {

namespace {

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
