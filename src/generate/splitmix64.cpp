#include "generate/splitmix64.h"

namespace quintaraz {

namespace {

/** SplitMix64's output function: every bit of the input moves about half of the output's. */
constexpr std::uint64_t mixed(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

} // namespace

SplitMix64 SplitMix64::stream(std::uint64_t seed, std::uint64_t part, std::uint64_t candidate)
{
    return SplitMix64(mixed(mixed(seed ^ mixed(part + 1)) + candidate));
}

std::uint64_t SplitMix64::next()
{
    state_ += 0x9e3779b97f4a7c15u;
    return mixed(state_);
}

std::uint32_t SplitMix64::below(std::uint32_t bound)
{
    if (bound == 0)
        return 0;
    // Lemire's multiply and shift, with the few draws that would favour some numbers
    // drawn again: exact, and the same everywhere.
    const std::uint32_t rejected = std::uint32_t(-bound) % bound;
    for (;;) {
        const std::uint64_t product = (next() >> 32) * bound;
        if (std::uint32_t(product) >= rejected)
            return std::uint32_t(product >> 32);
    }
}

int SplitMix64::between(int least, int most)
{
    return least + int(below(std::uint32_t(most - least + 1)));
}

bool SplitMix64::chance(std::uint32_t numerator, std::uint32_t denominator)
{
    return below(denominator) < numerator;
}

} // namespace quintaraz
