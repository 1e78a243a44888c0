#include "editor/scrolling.h"

#include <Qt>

namespace quintaraz {

void scrollByKey(MapDocument& document, int key)
{
    if (key == Qt::Key_Left)
        document.scrollX -= scrollStep;
    if (key == Qt::Key_Right)
        document.scrollX += scrollStep;
    if (key == Qt::Key_Down)
        document.scrollY += scrollStep;
    if (key == Qt::Key_Up)
        document.scrollY -= scrollStep;
    clampScroll(document);
}

bool clampScroll(MapDocument& document)
{
    const std::int16_t x = document.scrollX;
    const std::int16_t y = document.scrollY;
    constexpr int lastVisible = viewCells - 1;
    if (document.scrollX > document.map.maxwidth - lastVisible)
        document.scrollX = static_cast<std::int16_t>(document.map.maxwidth - lastVisible);
    if (document.scrollY > document.map.maxheight - lastVisible)
        document.scrollY = static_cast<std::int16_t>(document.map.maxheight - lastVisible);
    // The lower bound comes last, so it wins when a maximum is negative.
    if (document.scrollX < 0)
        document.scrollX = 0;
    if (document.scrollY < 0)
        document.scrollY = 0;
    return x != document.scrollX || y != document.scrollY;
}

QString scrollCaption(const MapDocument& document)
{
    return QStringLiteral("cx (%1) cy (%2)").arg(document.scrollX).arg(document.scrollY);
}

QString pointerCaption(QPoint cell)
{
    return QStringLiteral("Mouse: (%1)(%2)").arg(cell.x()).arg(cell.y());
}

} // namespace quintaraz
