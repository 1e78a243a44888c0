#include "render/changeoutline.h"

#include <algorithm>

namespace quintaraz {

namespace {

/** Sets one pixel of a 32-bit or palette picture to the outline's colour. */
class OutlinePen {
public:
    explicit OutlinePen(QImage& picture)
        : picture_(picture)
    {
        if (picture.format() != QImage::Format_Indexed8)
            return;
        // A palette picture gets the colour as one more entry; a full palette becomes 32-bit.
        QList<QRgb> colours = picture.colorTable();
        index_ = int(colours.indexOf(changeOutlineColour));
        if (index_ < 0 && colours.size() < 256) {
            index_ = int(colours.size());
            colours.append(changeOutlineColour);
            picture.setColorTable(colours);
        }
        if (index_ < 0)
            picture = picture.convertToFormat(QImage::Format_RGB32);
    }

    void set(uchar* line, int x) const
    {
        if (picture_.format() == QImage::Format_Indexed8)
            line[x] = uchar(index_);
        else
            reinterpret_cast<QRgb*>(line)[x] = changeOutlineColour;
    }

private:
    QImage& picture_;
    int index_ = -1;
};

} // namespace

void outlineCells(QImage& picture, int cellSize, const std::vector<GridPoint>& cells)
{
    if (picture.format() != QImage::Format_Indexed8 && picture.depth() != 32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const OutlinePen pen(picture);
    const int width = std::max(1, cellSize / 8);
    for (const GridPoint cell : cells) {
        const QRect whole(cell.x * cellSize, cell.y * cellSize, cellSize, cellSize);
        if (!picture.rect().contains(whole))
            continue;
        for (int y = whole.top(); y <= whole.bottom(); ++y) {
            uchar* line = picture.scanLine(y);
            const bool edge = y - whole.top() < width || whole.bottom() - y < width;
            for (int x = whole.left(); x <= whole.right(); ++x)
                if (edge || x - whole.left() < width || whole.right() - x < width)
                    pen.set(line, x);
        }
    }
}

} // namespace quintaraz
