#pragma once

// What the editor should hold after each step, kept in the plainest way: a terrain and a
// start mark per cell, the scroll origin and the tool. Tests drive the editor and this model
// side by side and compare them.

#include "editor/mapdocument.h"
#include "referencemap.h"

#include <QPoint>
#include <QPointF>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace referencemodel {

using quintaraz::MapDocument;

struct Model {
    bool loaded = false;
    int width = 0;
    int height = 0;
    std::array<std::array<int, 100>, 100> terrain{};
    std::array<std::array<std::optional<int>, 100>, 100> mark; // whose start a cell is, if any
    QPoint scroll;
    int selected = 0;
    bool startTool = false;

    bool inArea(QPoint c) const
    {
        return c.x() >= 0 && c.y() >= 0 && c.x() <= width && c.y() <= height;
    }

    std::array<bool, 8> placed() const
    {
        std::array<bool, 8> found{};
        for (int x = 0; x <= width; ++x)
            for (int y = 0; y <= height; ++y)
                if (mark[x][y])
                    found[*mark[x][y]] = true;
        return found;
    }

    void clampScroll()
    {
        scroll.setX(std::max(0, std::min(scroll.x(), width - 15)));
        scroll.setY(std::max(0, std::min(scroll.y(), height - 15)));
    }

    void clearMarks()
    {
        for (auto& column : mark)
            column.fill(std::nullopt);
    }

    void newMap(int w, int h)
    {
        width = w;
        height = h;
        for (int x = 0; x <= w; ++x)
            for (int y = 0; y <= h; ++y)
                terrain[x][y] = 0;
        clearMarks();
        loaded = true;
        clampScroll();
    }

    void press(QPointF pixel, const QString& chooser)
    {
        const QPoint cell(int(std::floor(pixel.x() / 25)) + scroll.x(),
                          int(std::floor(pixel.y() / 25)) + scroll.y());
        const bool named = chooser.size() == 1 && chooser[0] >= u'1' && chooser[0] <= u'8';
        pressCell(cell, named ? std::optional<int>(chooser[0].unicode() - u'1') : std::nullopt);
    }

    /** A press on a cell with the active tool, for the player chosen, if any. */
    void pressCell(QPoint c, std::optional<int> player)
    {
        if (!loaded || !inArea(c))
            return;
        int& here = terrain[c.x()][c.y()];
        if (!startTool) {
            if (!mark[c.x()][c.y()])
                here = selected;
            return;
        }
        if (here == 1 || here == 2 || !player || *player < 0 || *player > 7)
            return;
        for (int x = 0; x <= width; ++x)
            for (int y = 0; y <= height; ++y)
                if (mark[x][y] == player)
                    mark[x][y].reset();
        mark[c.x()][c.y()] = player;
    }

    void key(int k)
    {
        if (!loaded)
            return;
        scroll += QPoint(k == Qt::Key_Right  ? 2
                         : k == Qt::Key_Left ? -2
                                             : 0,
                         k == Qt::Key_Down ? 2
                         : k == Qt::Key_Up ? -2
                                           : 0);
        clampScroll();
    }

    void open(const referencemap::Map& map)
    {
        width = map.width;
        height = map.height;
        for (int k = 0; k < map.terrain.size(); ++k)
            terrain[k % (width + 1)][k / (width + 1)] = map.terrain[k];
        clearMarks();
        for (int g = 0; g < 8; ++g)
            mark[map.starts[g].x()][map.starts[g].y()] = g;
        loaded = true;
        clampScroll();
    }

    QByteArray fileText() const
    {
        QList<int> cells;
        for (int y = 0; y <= height; ++y)
            for (int x = 0; x <= width; ++x)
                cells.append(terrain[x][y]);
        QList<QPoint> starts(8, QPoint(-1, -1));
        for (int x = 0; x <= width; ++x)
            for (int y = 0; y <= height; ++y)
                if (mark[x][y])
                    starts[*mark[x][y]] = QPoint(x, y);
        return referencemap::write(width, height, cells, starts);
    }
};

/**
 * The first difference between the editor and the model, or an empty text: what the editor
 * shows and saves, the map's size, terrain and starts, and the tools and the view's origin.
 */
inline QString difference(const MapDocument& d, const Model& m)
{
    if (d.mapLoaded != m.loaded)
        return QStringLiteral("mapLoaded");
    if (!m.loaded)
        return {};
    const quintaraz::GameMap& map = d.map;
    if (map.maxwidth != m.width || map.maxheight != m.height)
        return QStringLiteral("size");
    if (map.maxwidth < 16 || map.maxwidth > 99 || map.maxheight < 16 || map.maxheight > 99)
        return QStringLiteral("size out of range");
    if (QPoint(d.scrollX, d.scrollY) != m.scroll || d.scrollX > 84 || d.scrollY > 84)
        return QStringLiteral("scroll");
    if (d.selectedTerrain != m.selected ||
        (d.toolMode == quintaraz::ToolMode::Start) != m.startTool)
        return QStringLiteral("tool");
    if (map.terrain.size() != std::size_t(map.cellCount()))
        return QStringLiteral("cells for another size");
    for (int x = 0; x <= m.width; ++x)
        for (int y = 0; y <= m.height; ++y)
            if (map.terrainAt(x, y) != m.terrain[x][y])
                return QStringLiteral("terrain %1,%2").arg(x).arg(y);
    // Each player's start where the model has its mark, and nowhere else.
    std::array<std::optional<QPoint>, 8> marked;
    for (int x = 0; x <= m.width; ++x)
        for (int y = 0; y <= m.height; ++y)
            if (m.mark[x][y])
                marked[*m.mark[x][y]] = QPoint(x, y);
    for (int p = 0; p < 8; ++p) {
        const std::optional<quintaraz::GridPoint> start = map.starts[p];
        const std::optional<QPoint> at =
            start ? std::optional<QPoint>(QPoint(start->x, start->y)) : std::nullopt;
        if (at != marked[p])
            return QStringLiteral("start of player %1").arg(p);
    }
    return {};
}

} // namespace referencemodel
