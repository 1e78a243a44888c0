#include "generate/pairledger.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace quintaraz {

PairLedger::PairLedger(std::vector<std::uint8_t> countsForA, std::vector<std::uint8_t> countsForB,
                       int totalA, int totalB, Tolerance tolerance)
    : forA_(std::move(countsForA))
    , forB_(std::move(countsForB))
    , totalA_(totalA)
    , totalB_(totalB)
    , tolerance_(tolerance)
{
}

bool PairLedger::near(int a, int b) const
{
    const int larger = std::max(a, b);
    const int gap = std::abs(a - b);
    switch (tolerance_) {
    case Tolerance::Slack:
        return 100 * gap <= 3 * larger;
    case Tolerance::RatioOfNine:
        return 10 * gap <= larger;
    }
    return false;
}

bool PairLedger::fits(const std::int16_t* cells, int count, int sign) const
{
    int a = totalA_;
    int b = totalB_;
    for (int k = 0; k < count; ++k) {
        a += sign * forA_[std::size_t(cells[k])];
        b += sign * forB_[std::size_t(cells[k])];
    }
    return near(a, b) || std::abs(a - b) <= std::abs(totalA_ - totalB_);
}

void PairLedger::record(const std::int16_t* cells, int count, int sign)
{
    for (int k = 0; k < count; ++k) {
        totalA_ += sign * forA_[std::size_t(cells[k])];
        totalB_ += sign * forB_[std::size_t(cells[k])];
    }
}

} // namespace quintaraz
