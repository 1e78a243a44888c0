#pragma once

#include <cstdint>

namespace quintaraz {

/**
 * SplitMix64 (Steele, Lea and Flood, 2014): a small random generator whose numbers are the
 * same on every machine, compiler and standard library, which std::'s distributions are not.
 * Every draw the map generator makes comes from one of these, so a seed names one map.
 */
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed)
        : state_(seed)
    {
    }

    /**
     * A stream of its own for one part of one candidate: what one part draws never shifts
     * what another draws, so a change to one stage leaves the others' maps alone.
     */
    static SplitMix64 stream(std::uint64_t seed, std::uint64_t part, std::uint64_t candidate);

    std::uint64_t next();
    /** A number from 0 to bound - 1, each equally likely; 0 when bound is 0. */
    std::uint32_t below(std::uint32_t bound);
    /** A number from least to most, both included. */
    int between(int least, int most);
    /** True in numerator of every denominator draws. */
    bool chance(std::uint32_t numerator, std::uint32_t denominator);

private:
    std::uint64_t state_;
};

} // namespace quintaraz
