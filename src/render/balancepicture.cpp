#include "render/balancepicture.h"

#include "art/tileart.h"
#include "balance/balancefigures.h"

#include <algorithm>
#include <array>

namespace quintaraz {

namespace {

/** Territory lines every this many rows of pixels; the disputed grid every this many pixels. */
constexpr int territoryLines = 4;
constexpr int disputedGrid = 6;

/** Sets pixels of a 32-bit or palette picture to a few colours, added to a palette if need be. */
class Pen {
public:
    Pen(QImage& picture, const QList<QRgb>& colours)
        : colours_(colours)
    {
        if (picture.format() != QImage::Format_Indexed8) {
            if (picture.depth() != 32)
                picture = picture.convertToFormat(QImage::Format_RGB32);
            return;
        }
        QList<QRgb> palette = picture.colorTable();
        for (const QRgb colour : colours) {
            qsizetype index = palette.indexOf(colour);
            if (index < 0) {
                index = palette.size();
                palette.append(colour);
            }
            indices_.append(uchar(index));
        }
        if (palette.size() <= 256)
            picture.setColorTable(palette);
        else
            picture = picture.convertToFormat(QImage::Format_RGB32);
        indexed_ = picture.format() == QImage::Format_Indexed8;
    }

    /** Sets pixel x of a line to colour number which of those given. */
    void set(uchar* line, int x, int which) const { fill(line, x, x + 1, which); }
    /** Sets the pixels from left up to right. */
    void fill(uchar* line, int left, int right, int which) const
    {
        if (indexed_)
            std::fill(line + left, line + right, indices_[which]);
        else
            std::fill(reinterpret_cast<QRgb*>(line) + left, reinterpret_cast<QRgb*>(line) + right,
                      colours_[which]);
    }

private:
    QList<QRgb> colours_;
    QList<uchar> indices_;
    bool indexed_ = false;
};

/**
 * Lines across each cell of a territory every fourth row of pixels, continued from cell to
 * cell so that a territory reads as one patch with the terrain showing through; a grid every
 * sixth pixel on disputed cells. Whole runs of one colour along a row, which PNG compresses
 * as well as the tiles themselves. Start cells keep their markers clear.
 */
void drawTerritories(QImage& picture, int size, const GameMap& map, const BalanceFigures& figures,
                     const std::vector<bool>& starts, const Pen& pen)
{
    const int disputed = playerCount; // the colour after the players'
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int x = 0; x <= map.maxwidth; ++x) {
            const int cell = map.cellIndex(x, y);
            const int owner = figures.owners[std::size_t(cell)];
            if (owner == nobodysCell || starts[std::size_t(cell)])
                continue;
            const int left = x * size;
            const int right = left + size;
            for (int row = y * size; row < (y + 1) * size; ++row) {
                uchar* line = picture.scanLine(row);
                if (owner != disputedCell) {
                    if (row % territoryLines == 0)
                        pen.fill(line, left, right, owner);
                } else if (row % disputedGrid == 0) {
                    pen.fill(line, left, right, disputed);
                } else {
                    for (int column = (left + disputedGrid - 1) / disputedGrid * disputedGrid;
                         column < right; column += disputedGrid)
                        pen.set(line, column, disputed);
                }
            }
        }
    }
}

/**
 * The narrowest pass of each player framed in its colour, a frame inside the last when
 * players share the cell. A route narrowest on a start's own cell has no passage narrower
 * than the ground the start stands on: its marker says all there is.
 */
void framePasses(QImage& picture, int size, const GameMap& map, const BalanceFigures& figures,
                 const std::vector<bool>& starts, const Pen& pen)
{
    const int width = std::max(1, size / 8);
    std::vector<int> frames(std::size_t(map.cellCount()), 0);
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> pass = figures.players[g].passCell;
        if (!pass || starts[std::size_t(map.cellIndex(pass->x, pass->y))])
            continue;
        int& inside = frames[std::size_t(map.cellIndex(pass->x, pass->y))];
        const int inset = std::max(0, std::min(inside++ * width, size / 2 - width));
        const int left = pass->x * size + inset;
        const int top = pass->y * size + inset;
        const int right = (pass->x + 1) * size - 1 - inset;
        const int bottom = (pass->y + 1) * size - 1 - inset;
        for (int row = top; row <= bottom; ++row) {
            uchar* line = picture.scanLine(row);
            const bool edge = row - top < width || bottom - row < width;
            for (int column = left; column <= right; ++column)
                if (edge || column - left < width || right - column < width)
                    pen.set(line, column, g);
        }
    }
}

} // namespace

QRgb playerColour(const TileArt& art, int player)
{
    return art.player(player).pixel(cellSize / 2, cellSize / 2) | 0xff000000u;
}

void drawBalance(QImage& picture, int size, const GameMap& map, const BalanceFigures& figures,
                 const TileArt& art)
{
    QList<QRgb> colours;
    for (int g = 0; g < playerCount; ++g)
        colours << playerColour(art, g);
    colours << disputedColour;
    const Pen pen(picture, colours);
    std::vector<bool> starts(std::size_t(map.cellCount()), false);
    for (const std::optional<GridPoint>& start : map.starts)
        if (start && map.contains(*start))
            starts[std::size_t(map.cellIndex(start->x, start->y))] = true;
    drawTerritories(picture, size, map, figures, starts, pen);
    framePasses(picture, size, map, figures, starts, pen);
}

} // namespace quintaraz
