#include "map/gamemap.h"

#include "map/piecesplitter.h"

namespace quintaraz {

int GameMap::extraStartCount() const
{
    // What follows the last comma is no entry when it is empty or white space, such as
    // the line break that text editors add.
    PieceSplitter entries(extraStarts, ",");
    int count = 0;
    bool lastBlank = false;
    for (std::string_view entry; entries.next(entry);) {
        ++count;
        lastBlank = entry.find_first_not_of(" \t\r\n") == std::string_view::npos;
    }
    return count - lastBlank;
}

} // namespace quintaraz
