#include "map/mapreading.h"

#include "map/piecesplitter.h"
#include "map/problemtext.h"
#include "system/boundedread.h"

#include <QByteArray>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quintaraz {

namespace {

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

// Cells of one digit each, "d,d,d,...", the common case, eight at a time: each "d," read
// as one 16-bit lane is the digit plus ',' * 256 on a little-endian machine. GCC 12 turns
// the plain loop into vector code only in some contexts, and checking 1,000 maps then takes
// a quarter longer (scripts/bench), so the SSE2 form is written out. Gives how many cells
// it took, a multiple of 8.
inline int digitCells(std::string_view text, std::int16_t* cells, int most)
{
    if constexpr (std::endian::native != std::endian::little)
        return 0;
    int done = 0;
    for (const char* at = text.data(); most - done >= 8 && text.end() - at >= 16; at += 16) {
#ifdef __SSE2__
        const __m128i lanes = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)),
                                            _mm_set1_epi16(short('0' | ',' << 8)));
        // A lane is a digit when it is at most 9, taken unsigned: 9 minus it saturates to 0.
        const __m128i over = _mm_subs_epu16(lanes, _mm_set1_epi16(9));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(over, _mm_setzero_si128())) != 0xffff)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cells + done), lanes);
#else
        std::uint16_t lanes[8];
        std::memcpy(lanes, at, sizeof lanes);
        unsigned other = 0;
        for (std::uint16_t& lane : lanes) {
            lane = std::uint16_t(lane - ('0' | ',' << 8));
            other |= lane > 9 ? 1u : 0u;
        }
        if (other)
            break;
        std::memcpy(cells + done, lanes, sizeof lanes);
#endif
        done += 8;
    }
    return done;
}

/** Notes where reading stopped, and why, and gives the outcome. */
LoadOutcome stop(MapReading& reading, LoadOutcome outcome, MapPart part, int index,
                 std::string_view text, std::string_view piece)
{
    constexpr std::size_t shown = 24;
    reading.part = part;
    reading.index = index;
    reading.offset = piece.data() - text.data();
    reading.piece.assign(piece.substr(0, shown));
    if (piece.size() > shown)
        reading.piece += "...";
    return outcome;
}

/** The same where the piece that should follow is not there at all. */
LoadOutcome stopAtEnd(MapReading& reading, LoadOutcome outcome, MapPart part, int index,
                      std::string_view text, std::string_view section)
{
    reading.missingPiece = true;
    return stop(reading, outcome, part, index, text, section.substr(section.size()));
}

/** The header's two numbers, the highest column and row, into the map's size. */
LoadOutcome readSize(std::string_view text, PieceSplitter& numbers, std::string_view numberPart,
                     MapReading& reading)
{
    std::string_view piece;
    std::int16_t maxwidth = 0;
    std::int16_t maxheight = 0;
    if (!numbers.next(piece))
        return stopAtEnd(reading, LoadOutcome::NotReadable, MapPart::Width, 0, text, numberPart);
    if (toInt16(piece, maxwidth) != Number::Valid)
        return stop(reading, LoadOutcome::NotReadable, MapPart::Width, 0, text, piece);
    const std::string_view widthPiece = piece;
    if (!numbers.next(piece))
        return stopAtEnd(reading, LoadOutcome::NotReadable, MapPart::Height, 0, text, numberPart);
    if (toInt16(piece, maxheight) != Number::Valid)
        return stop(reading, LoadOutcome::NotReadable, MapPart::Height, 0, text, piece);
    if (!mapSizeLimits.contains(maxwidth))
        return stop(reading, LoadOutcome::SizeRejected, MapPart::Width, 0, text, widthPiece);
    if (!mapSizeLimits.contains(maxheight))
        return stop(reading, LoadOutcome::SizeRejected, MapPart::Height, 0, text, piece);
    reading.map.resize(maxwidth, maxheight);
    return LoadOutcome::Loaded;
}

/** Every cell's terrain, row by row. */
LoadOutcome readCells(std::string_view text, PieceSplitter& numbers, std::string_view numberPart,
                      MapReading& reading)
{
    GameMap& map = reading.map;
    const int cellCount = map.cellCount();
    std::string_view piece;
    for (int k = 0; k < cellCount;) {
        if (const int done = digitCells(numbers.rest(), &map.terrain[k], cellCount - k)) {
            numbers.skip(2 * std::size_t(done));
            k += done;
            continue;
        }
        if (!numbers.next(piece))
            return stopAtEnd(reading, LoadOutcome::ReadFailure, MapPart::Cell, k, text, numberPart);
        if (const Number kind = toInt16(piece, map.terrain[k]); kind != Number::Valid)
            return stop(reading,
                        kind == Number::NotANumber ? LoadOutcome::FormatError
                                                   : LoadOutcome::ReadFailure,
                        MapPart::Cell, k, text, piece);
        ++k;
    }
    return LoadOutcome::Loaded;
}

/** Player g's start: "column row", each on the grid's fixed extent, not only on the map's. */
LoadOutcome readStart(std::string_view text, std::string_view entry, int g, MapReading& reading)
{
    PieceSplitter parts(entry, " ");
    std::string_view column;
    std::string_view row;
    if (!parts.next(column) || !parts.next(row))
        return stop(reading, LoadOutcome::ReadFailure, MapPart::Entry, g, text, entry);
    const auto coordinate = [&](MapPart part, std::string_view value, std::int16_t& at) {
        const Number kind = toInt16(value, at);
        if (kind == Number::NotANumber)
            return stop(reading, LoadOutcome::FormatError, part, g, text, value);
        if (kind == Number::OutOfRange || at < 0 || at >= GameMap::gridSize)
            return stop(reading, LoadOutcome::ReadFailure, part, g, text, value);
        return LoadOutcome::Loaded;
    };
    GridPoint start;
    if (const LoadOutcome outcome = coordinate(MapPart::Column, column, start.x);
        outcome != LoadOutcome::Loaded)
        return outcome;
    if (const LoadOutcome outcome = coordinate(MapPart::Row, row, start.y);
        outcome != LoadOutcome::Loaded)
        return outcome;
    reading.map.starts[std::size_t(g)] = start;
    return LoadOutcome::Loaded;
}

/** The eight starts, and what follows them, kept: a game may not expect more than eight. */
LoadOutcome readStarts(std::string_view text, std::string_view startPart, MapReading& reading)
{
    PieceSplitter entries(startPart, ",");
    for (int g = 0; g < playerCount; ++g) {
        std::string_view entry;
        if (!entries.next(entry))
            return stopAtEnd(reading, LoadOutcome::ReadFailure, MapPart::Entry, g, text, startPart);
        if (const LoadOutcome outcome = readStart(text, entry, g, reading);
            outcome != LoadOutcome::Loaded)
            return outcome;
    }
    const std::string_view rest = entries.rest();
    reading.map.extraStarts.assign(rest.substr(0, rest.find_last_not_of(" \t\r\n") + 1));
    return LoadOutcome::Loaded;
}

LoadOutcome parse(std::string_view text, MapReading& reading)
{
    PieceSplitter sections(text, "<fin>");
    std::string_view numberPart;
    std::string_view startPart;
    if (!sections.next(numberPart) || !sections.next(startPart))
        return stopAtEnd(reading, LoadOutcome::NotReadable, MapPart::Marker, 0, text, text);
    PieceSplitter numbers(numberPart, ",");
    LoadOutcome outcome = readSize(text, numbers, numberPart, reading);
    if (outcome == LoadOutcome::Loaded)
        outcome = readCells(text, numbers, numberPart, reading);
    if (outcome == LoadOutcome::Loaded)
        outcome = readStarts(text, startPart, reading);
    if (outcome == LoadOutcome::Loaded)
        reading.part = MapPart::None;
    return outcome;
}

/** The outcome as the editor's words say it. */
QString outcomeWords(LoadOutcome outcome)
{
    switch (outcome) {
    case LoadOutcome::Loaded:
        return QStringLiteral("correcto");
    case LoadOutcome::SizeRejected:
        return QStringLiteral("tamaño rechazado");
    case LoadOutcome::FormatError:
        return QStringLiteral("archivo corrupto");
    case LoadOutcome::ReadFailure:
        return QStringLiteral("fallo de lectura");
    case LoadOutcome::NotReadable:
        break;
    }
    return QStringLiteral("no se puede abrir");
}

/** The piece where reading stopped, as the message quotes it: «a», bytes out of ASCII as \xNN. */
QString quotedPiece(const MapReading& reading)
{
    QString piece;
    for (const char c : reading.piece)
        piece += c >= ' ' && c < 127
                     ? QString(QLatin1Char(c))
                     : QStringLiteral("\\x%1").arg(int(uchar(c)), 2, 16, QLatin1Char('0'));
    return QStringLiteral("«%1»").arg(piece);
}

/**
 * Why a size in the header is refused, as map makers count a map: the header holds the
 * highest column or row, one less than their count.
 */
QString sizeWhy(const MapReading& reading, const QString& which)
{
    const bool width = reading.part == MapPart::Width;
    const QString one = width ? QStringLiteral("columna") : QStringLiteral("fila");
    const QString many = width ? QStringLiteral("columnas") : QStringLiteral("filas");
    const QString limits = QStringLiteral("de %1 a %2 %3")
                               .arg(mapSizeLimits.lowest + 1)
                               .arg(mapSizeLimits.highest + 1)
                               .arg(many);
    const QString given = which + u' ' + QString::fromStdString(reading.piece);
    // A piece cut short for the message is no number to count.
    std::int16_t highest = 0;
    if (toInt16(reading.piece, highest) != Number::Valid)
        return QStringLiteral("%1 no da %2, lo que el editor abre").arg(given, limits);
    const int count = highest + 1;
    const QString counted = count < 1    ? QStringLiteral("no da ninguna %1").arg(one)
                            : count == 1 ? QStringLiteral("da 1 %1").arg(one)
                                         : QStringLiteral("da %1 %2").arg(count).arg(many);
    return QStringLiteral("%1 %2; el editor abre %3").arg(given, counted, limits);
}

/** Why a number of the header stopped the reading. */
QString headerWhy(const MapReading& reading)
{
    const QString which =
        reading.part == MapPart::Width ? QStringLiteral("el ancho") : QStringLiteral("el alto");
    if (reading.outcome == LoadOutcome::SizeRejected)
        return sizeWhy(reading, which);
    if (reading.missingPiece)
        return QStringLiteral("falta %1 del encabezado").arg(which);
    return QStringLiteral("%1 del encabezado, %2, no es un número de 16 bits")
        .arg(which, quotedPiece(reading));
}

/** Why a cell stopped the reading. */
QString cellWhy(const MapReading& reading)
{
    if (reading.missingPiece)
        return QStringLiteral("solo hay %1 de las %2 casillas")
            .arg(reading.index)
            .arg(reading.map.cellCount());
    const QString cell =
        QStringLiteral("la casilla de la ") +
        cellPlace(reading.index % reading.map.columns(), reading.index / reading.map.columns());
    if (reading.outcome == LoadOutcome::FormatError)
        return QStringLiteral("%1 es %2, que no es un número").arg(cell, quotedPiece(reading));
    return QStringLiteral("%1 es %2, fuera de -32768..32767").arg(cell, quotedPiece(reading));
}

/** Why a start entry, or a coordinate of one, stopped the reading. */
QString startWhy(const MapReading& reading)
{
    const QString player = QStringLiteral("del jugador %1").arg(reading.index + 1);
    if (reading.part == MapPart::Entry && reading.missingPiece)
        return QStringLiteral("solo hay %1 comienzos de los %2")
            .arg(reading.index)
            .arg(playerCount);
    if (reading.part == MapPart::Entry)
        return QStringLiteral("el comienzo %1, %2, no tiene columna y fila")
            .arg(player, quotedPiece(reading));
    const QString which =
        reading.part == MapPart::Column ? QStringLiteral("la columna") : QStringLiteral("la fila");
    if (reading.outcome == LoadOutcome::FormatError)
        return QStringLiteral("%1 del comienzo %2, %3, no es un número")
            .arg(which, player, quotedPiece(reading));
    return QStringLiteral("%1 del comienzo %2, %3, está fuera de 0..99")
        .arg(which, player, quotedPiece(reading));
}

/** Why the piece where reading stopped did not do. */
QString whyPieceStopped(const MapReading& reading)
{
    switch (reading.part) {
    case MapPart::Width:
    case MapPart::Height:
        return headerWhy(reading);
    case MapPart::Cell:
        return cellWhy(reading);
    default:
        return startWhy(reading);
    }
}

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

/** Whether a line of the text begins with marker, and a later one with closing. */
bool hasMarkedLines(std::string_view text, std::string_view marker, std::string_view closing)
{
    const auto lineStart = [&](std::string_view what, std::size_t from) {
        for (std::size_t at = text.find(what, from); at != std::string_view::npos;
             at = text.find(what, at + 1))
            if (at == 0 || text[at - 1] == '\n')
                return at;
        return std::string_view::npos;
    };
    const std::size_t opening = lineStart(marker, 0);
    return opening != std::string_view::npos &&
           lineStart(closing, opening + marker.size()) != std::string_view::npos;
}

/**
 * Names what a text that is no map plainly is. Git writes its conflict markers as lines of
 * seven "<", "=" and ">" (with a fourth kind of line in the diff3 style), and a pointer of
 * Git LFS begins with its version line.
 */
void recogniseOtherFile(std::string_view text, MapReading& reading)
{
    if (hasMarkedLines(text, "<<<<<<<", ">>>>>>>")) {
        reading.otherFile = OtherFile::ConflictMarkers;
        return;
    }
    if (text.starts_with("version https://git-lfs.github.com/spec/")) {
        reading.otherFile = OtherFile::LfsPointer;
        return;
    }
    if (!text.starts_with(byteOrderMark))
        return;
    // What follows the mark says whether the mark is all that is wrong.
    const std::string_view rest = text.substr(byteOrderMark.size());
    MapReading after;
    after.outcome = parse(rest, after);
    reading.otherFile = OtherFile::ByteOrderMark;
    reading.afterMark = after.outcome;
    reading.part = after.part;
    reading.index = after.index;
    reading.offset = after.offset + qint64(byteOrderMark.size());
    reading.piece = std::move(after.piece);
    reading.missingPiece = after.missingPiece;
    reading.map = std::move(after.map);
}

/** What a file that is plainly something else is, and what to do, after the outcome's words. */
QString otherFileWhy(const MapReading& reading, const QString& file)
{
    switch (reading.otherFile) {
    case OtherFile::ConflictMarkers:
        return QStringLiteral("este mapa tiene las marcas de conflicto que git escribe cuando no "
                              "conoce el mezclador de mapas: ejecute `quintaraz-map git-setup` "
                              "(una vez en cada copia, o `--global`) y después `git checkout -m "
                              "-- %1`")
            .arg(file);
    case OtherFile::LfsPointer:
        return QStringLiteral(
            "es un puntero de Git LFS, no el mapa: LFS guarda el mapa aparte y deja en su lugar "
            "este texto, que solo lo nombra; `git lfs pull` trae los mapas, pero git no puede "
            "mezclar punteros casilla a casilla: los mapas son texto pequeño y no necesitan LFS");
    case OtherFile::ByteOrderMark:
    case OtherFile::None:
        break;
    }
    const QString mark =
        QStringLiteral("el archivo empieza con la marca de orden de bytes de UTF-8 (BOM), que "
                       "algunos editores de Windows escriben y el juego no lee");
    if (reading.afterMark == LoadOutcome::Loaded)
        return mark + QStringLiteral("; sin ella es un mapa: guárdelo como UTF-8 sin BOM, o "
                                     "quítela con `sed -i '1s/^\\xEF\\xBB\\xBF//' -- %1`")
                          .arg(file);
    MapReading after = reading;
    after.outcome = reading.afterMark;
    after.otherFile = OtherFile::None;
    return mark + QStringLiteral("; sin ella tampoco es un mapa: ") + describeReading(after);
}

} // namespace

MapReading readMapText(std::string_view text)
{
    MapReading reading;
    reading.outcome = parse(text, reading);
    if (reading.outcome != LoadOutcome::Loaded)
        recogniseOtherFile(text, reading);
    return reading;
}

MapReading readMapBytes(const FileBytes& file)
{
    if (file.problem != FileProblem::None) {
        MapReading reading;
        reading.fileProblem = file.problem;
        reading.systemError = file.systemError;
        return reading;
    }
    return readMapText(std::string_view(file.bytes.constData(), size_t(file.bytes.size())));
}

MapReading readMapFile(const QString& path, InputKinds kinds, QByteArray* bytes)
{
    const FileBytes file = readFileAtMost(path, largestMapFile, kinds);
    if (bytes)
        *bytes = file.bytes;
    return readMapBytes(file);
}

QString describeReading(const MapReading& reading, const QString& file)
{
    const QString outcome = outcomeWords(reading.outcome);
    if (reading.otherFile != OtherFile::None)
        return outcome + QStringLiteral(": ") + otherFileWhy(reading, file);
    switch (reading.part) {
    case MapPart::None:
        return outcome;
    case MapPart::File:
        return outcome + QStringLiteral(": ") +
               fileProblemText(reading.fileProblem, reading.systemError, largestMapFile,
                               QStringLiteral("mapa"));
    case MapPart::Marker:
        return outcome + QStringLiteral(": falta la marca <fin>");
    default:
        return QStringLiteral("%1 en el byte %2: %3")
            .arg(outcome)
            .arg(reading.offset)
            .arg(whyPieceStopped(reading));
    }
}

} // namespace quintaraz
