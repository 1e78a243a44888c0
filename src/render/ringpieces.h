#pragma once

#include <algorithm>
#include <array>

namespace quintaraz {

/** A run of a view that lies unbroken in a ring: where it starts in each, and how long it is. */
struct RingPiece {
    int inView = 0;
    int inRing = 0;
    int count = 0;
};

/**
 * Where a run of count places of a view, from first on, lies in a ring of size places whose
 * place origin holds the view's first: up to the ring's end, then on from its start. The
 * second piece is empty when the run does not wrap.
 */
constexpr std::array<RingPiece, 2> ringPieces(int first, int count, int origin, int size)
{
    const int at = (first + origin) % size;
    const int before = std::min(count, size - at);
    return {{{first, at, before}, {first + before, 0, count - before}}};
}

} // namespace quintaraz
