// The data of a Tiled map's terrain layer, in every form Tiled writes.

#include "tiled/tiledlayerdata.h"

#include "tiled/tiledformat.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <zlib.h>
#include <zstd.h>
#include <zstd_errors.h>

namespace quintaraz {

QString inLayer(const QString& layer, const QString& problem)
{
    return problem.isEmpty() ? problem : QStringLiteral("la capa «%1»: %2").arg(layer, problem);
}

QString countProblem(qsizetype tiles, qsizetype cells)
{
    if (tiles == 0)
        return QStringLiteral("no tiene datos");
    return tiles > cells
               ? QStringLiteral("tiene más patrones que las %1 casillas del mapa").arg(cells)
               : QStringLiteral("tiene %1 patrones y el mapa %2 casillas").arg(tiles).arg(cells);
}

QString chunkedLayerProblem()
{
    return QStringLiteral("está en trozos, como en un mapa infinito");
}

std::optional<quint32> tileNumber(double value)
{
    if (!(value >= 0 && value <= 4294967295.0) || value != std::floor(value))
        return std::nullopt;
    return quint32(value);
}

namespace {

/**
 * Inflates zlib or gzip data that must come to exactly `size` bytes; never holds more than
 * one byte beyond that, whatever the input says.
 */
std::optional<QByteArray> inflated(const QByteArray& packed, qsizetype size, bool gzip)
{
    QByteArray out(size + 1, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const qsizetype produced = qsizetype(stream.total_out);
    const bool trailing = stream.avail_in > 0; // garbage, or a second gzip member
    inflateEnd(&stream);
    if (result == Z_STREAM_END && trailing)
        return std::nullopt;
    if (result != Z_STREAM_END)
        return result == Z_BUF_ERROR && produced == out.size() ? out : std::optional<QByteArray>();
    out.truncate(produced);
    return out;
}

/** The same for zstd, into a buffer of one byte more than `size`. */
std::optional<QByteArray> zstdDecompressed(const QByteArray& packed, qsizetype size)
{
    QByteArray out(size + 1, Qt::Uninitialized);
    const std::size_t produced = ZSTD_decompress(out.data(), std::size_t(out.size()),
                                                 packed.constData(), std::size_t(packed.size()));
    if (ZSTD_isError(produced))
        return ZSTD_getErrorCode(produced) == ZSTD_error_dstSize_tooSmall
                   ? out
                   : std::optional<QByteArray>();
    out.truncate(qsizetype(produced));
    return out;
}

/** Tiles written as base64, compressed or not: little-endian 32-bit numbers. */
QString base64Tiles(QStringView text, QStringView compression, qsizetype cells,
                    std::vector<quint32>& tiles)
{
    QByteArray compact;
    compact.reserve(text.size());
    for (const QChar c : text)
        if (!c.isSpace())
            compact += char(c.unicode() < 128 ? c.unicode() : '?');
    const auto decoded =
        QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return QStringLiteral("los datos no son base64 válido");
    const qsizetype size = cells * 4;
    std::optional<QByteArray> raw;
    if (compression.isEmpty())
        raw = *decoded;
    else if (compression == u"zlib" || compression == u"gzip")
        raw = inflated(*decoded, size, compression == u"gzip");
    else if (compression == u"zstd")
        raw = zstdDecompressed(*decoded, size);
    else
        return QStringLiteral("usa la compresión «%1», que el editor no conoce").arg(compression);
    if (!raw)
        return QStringLiteral("los datos comprimidos con %1 están dañados o tienen algo tras su "
                              "final")
            .arg(compression);
    if (raw->size() != size)
        return countProblem(raw->size() / 4 + (raw->size() > size ? 1 : 0), cells);
    tiles.resize(std::size_t(cells));
    const auto* bytes = reinterpret_cast<const uchar*>(raw->constData());
    for (qsizetype k = 0; k < cells; ++k)
        tiles[std::size_t(k)] = quint32(bytes[4 * k]) | quint32(bytes[4 * k + 1]) << 8 |
                                quint32(bytes[4 * k + 2]) << 16 | quint32(bytes[4 * k + 3]) << 24;
    return {};
}

} // namespace

QString textTiles(QStringView encoding, QStringView compression, QStringView text, qsizetype cells,
                  std::vector<quint32>& tiles)
{
    if (encoding == u"csv") {
        CsvTiles csv(cells, tiles);
        csv.read(text);
        return csv.finish();
    }
    if (encoding == u"base64")
        return base64Tiles(text, compression, cells, tiles);
    return QStringLiteral("usa la codificación «%1», que el editor no conoce").arg(encoding);
}

CsvTiles::CsvTiles(qsizetype cells, std::vector<quint32>& tiles)
    : cells_(cells)
    , tiles_(tiles)
{
    tiles_.resize(std::size_t(cells));
}

void CsvTiles::read(QStringView text)
{
    if (!problem_.isEmpty())
        return;
    // A number cut off at the end of the last part goes on at the start of this one.
    if (!pending_.isEmpty()) {
        const qsizetype comma = text.indexOf(u',');
        pending_ += text.left(comma < 0 ? text.size() : comma + 1);
        if (comma < 0)
            return;
        readPieces(pending_);
        pending_.clear();
        text = text.mid(comma + 1);
    }
    const qsizetype last = text.lastIndexOf(u',');
    readPieces(text.left(last + 1));
    pending_ = text.mid(last + 1).toString();
}

QString CsvTiles::finish()
{
    if (problem_.isEmpty() && !QStringView(pending_).trimmed().isEmpty())
        readPieces(pending_ + u',');
    if (problem_.isEmpty() && count_ != cells_)
        problem_ = countProblem(count_, cells_);
    return problem_;
}

void CsvTiles::readPieces(QStringView text)
{
    const char16_t* at = text.utf16();
    const char16_t* const end = at + text.size();
    const auto blank = [](char16_t c) {
        return c == u' ' || c == u'\n' || c == u'\r' || c == u'\t';
    };
    while (problem_.isEmpty() && at < end) {
        // Most pieces are one digit and a comma.
        if (end - at >= 2 && at[1] == u',' && at[0] >= u'0' && at[0] <= u'9' && count_ < cells_) {
            tiles_[std::size_t(count_++)] = quint32(at[0] - u'0');
            at += 2;
            continue;
        }
        while (at < end && blank(*at))
            ++at;
        const char16_t* const piece = at;
        quint64 number = 0;
        for (; at < end && *at >= u'0' && *at <= u'9' && number <= 0xFFFFFFFFu; ++at)
            number = number * 10 + (*at - u'0');
        while (at < end && blank(*at))
            ++at;
        if (at == piece || number > 0xFFFFFFFFu || at == end || *at != u',')
            return notANumber(QStringView(piece, end));
        if (count_ == cells_) {
            problem_ = countProblem(cells_ + 1, cells_);
            return;
        }
        tiles_[std::size_t(count_++)] = quint32(number);
        ++at; // the comma
    }
}

void CsvTiles::notANumber(QStringView from)
{
    const qsizetype comma = from.indexOf(u',');
    problem_ = QStringLiteral("«%1» no es el número de un patrón")
                   .arg(from.left(std::min<qsizetype>(comma < 0 ? 24 : comma, 24)).trimmed());
}

} // namespace quintaraz
