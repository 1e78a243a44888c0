#include "view/changeoutline.h"

#include <algorithm>

namespace quintaraz {

void outlineCells(QImage& picture, int cellSize, const std::vector<GridPoint>& cells)
{
    const int width = std::max(1, cellSize / 8);
    for (const GridPoint cell : cells) {
        const QRect whole(cell.x * cellSize, cell.y * cellSize, cellSize, cellSize);
        if (!picture.rect().contains(whole))
            continue;
        for (int y = whole.top(); y <= whole.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            const bool edge = y - whole.top() < width || whole.bottom() - y < width;
            for (int x = whole.left(); x <= whole.right(); ++x)
                if (edge || x - whole.left() < width || whole.right() - x < width)
                    line[x] = changeOutlineColour;
        }
    }
}

} // namespace quintaraz
