#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace quintaraz {

/** A problem of a tile layer's data, said as of the layer of that name. */
QString inLayer(const QString& layer, const QString& problem);
/** The problem of a tile layer with that many tiles for that many cells. */
QString countProblem(qsizetype tiles, qsizetype cells);
/** The problem of a tile layer written in chunks, as only infinite maps are. */
QString chunkedLayerProblem();
/** A tile number as written in JSON: a whole number from 0 to 2^32 - 1. */
std::optional<quint32> tileNumber(double value);

/**
 * Tile numbers written as CSV: numbers between commas, white space around them. Read by
 * hand, as a 100 by 100 map has 10,000 of them, and as the text arrives, in parts.
 */
class CsvTiles {
public:
    /** Reads into tiles, which it sizes to the map's cells. */
    CsvTiles(qsizetype cells, std::vector<quint32>& tiles);

    /** Reads the next part of the text. */
    void read(QStringView text);
    /** What is wrong with the whole text, if anything. */
    QString finish();

private:
    /** Pieces that each end with a comma. */
    void readPieces(QStringView text);
    void notANumber(QStringView from);

    const qsizetype cells_;
    std::vector<quint32>& tiles_;
    qsizetype count_ = 0;
    QString pending_; // a number cut off at the end of the last part
    QString problem_;
};

/**
 * The tiles of a tile layer from its data as written in text: CSV, or base64, raw or
 * compressed with zlib, gzip or zstd. What is wrong with it, if anything (not yet said as
 * of the layer); a compressed layer is never inflated beyond the map's cells, and a stream
 * with anything after its end is refused, as Tiled refuses it.
 */
QString textTiles(QStringView encoding, QStringView compression, QStringView text, qsizetype cells,
                  std::vector<quint32>& tiles);

} // namespace quintaraz
