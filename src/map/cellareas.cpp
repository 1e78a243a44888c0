#include "map/cellareas.h"

#include <algorithm>

namespace quintaraz {

std::vector<KeyedArea> cellAreas(const std::vector<KeyedCell>& cells)
{
    std::vector<KeyedArea> areas;
    std::vector<std::size_t> open;    // areas that reach the row above
    std::vector<std::size_t> reached; // areas that reach this row
    // Room for the runs of a few rows at once, not grown from one.
    areas.reserve(std::min<std::size_t>(cells.size(), 64));
    open.reserve(areas.capacity());
    reached.reserve(areas.capacity());
    int row = -1;
    for (std::size_t k = 0; k < cells.size();) {
        // A run: the next cells of the same row, side by side, with the same key.
        const KeyedCell& first = cells[k];
        std::size_t end = k + 1;
        while (end < cells.size() && cells[end].cell.y == first.cell.y &&
               cells[end].cell.x == cells[end - 1].cell.x + 1 && cells[end].key == first.key)
            ++end;
        const KeyedArea run{{first.cell.x, first.cell.y, cells[end - 1].cell.x, first.cell.y},
                            first.key};
        k = end;
        if (run.area.top != row) {
            // Swapped, not copied: both lists keep their room from row to row.
            if (run.area.top == row + 1)
                open.swap(reached);
            else
                open.clear();
            reached.clear();
            row = run.area.top;
        }
        const auto above = std::find_if(open.begin(), open.end(), [&](std::size_t index) {
            const KeyedArea& area = areas[index];
            return area.area.left == run.area.left && area.area.right == run.area.right &&
                   area.key == run.key;
        });
        if (above != open.end()) {
            areas[*above].area.bottom = run.area.top;
            reached.push_back(*above);
            open.erase(above);
        } else {
            areas.push_back(run);
            reached.push_back(areas.size() - 1);
        }
    }
    return areas;
}

} // namespace quintaraz
