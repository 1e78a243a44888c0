#include "view/balancepicture.h"

#include "art/tileart.h"
#include "balance/balancefigures.h"
#include "view/viewgeometry.h"

#include <algorithm>
#include <array>

namespace quintaraz {

namespace {

/** Sets pixels of a 32-bit or palette picture to a few colours, added to a palette if need be. */
class Pen {
public:
    Pen(QImage& picture, const QList<QRgb>& colours)
        : picture_(picture)
        , colours_(colours)
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
    }

    /** Sets pixel x of a line to colour number which of those given. */
    void set(uchar* line, int x, int which) const
    {
        if (picture_.format() == QImage::Format_Indexed8)
            line[x] = indices_[which];
        else
            reinterpret_cast<QRgb*>(line)[x] = colours_[which];
    }

private:
    QImage& picture_;
    QList<QRgb> colours_;
    QList<uchar> indices_;
};

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
    const int disputed = int(colours.size());
    colours << disputedColour;
    const Pen pen(picture, colours);
    std::vector<bool> starts(std::size_t(map.cellCount()), false);
    for (const std::optional<GridPoint>& start : map.starts)
        if (start && map.contains(*start))
            starts[std::size_t(map.cellIndex(start->x, start->y))] = true;

    // Hatching in lines four pixels apart, continued from cell to cell: the terrain shows
    // through, and a territory reads as one patch.
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int x = 0; x <= map.maxwidth; ++x) {
            const int cell = map.cellIndex(x, y);
            const int owner = figures.owners[std::size_t(cell)];
            if (owner == nobodysCell || starts[std::size_t(cell)])
                continue;
            for (int row = y * size; row < (y + 1) * size; ++row) {
                uchar* line = picture.scanLine(row);
                for (int column = x * size; column < (x + 1) * size; ++column) {
                    if (owner == disputedCell) {
                        if ((column + row) % 6 == 0 || (column - row) % 6 == 0)
                            pen.set(line, column, disputed);
                    } else if ((column + row) % 4 == 0) {
                        pen.set(line, column, owner);
                    }
                }
            }
        }
    }

    // The narrowest pass of each player framed in its colour, a frame inside the last when
    // players share the cell.
    const int width = std::max(1, size / 8);
    std::vector<int> frames(std::size_t(map.cellCount()), 0);
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> pass = figures.players[g].passCell;
        if (!pass)
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

} // namespace quintaraz
