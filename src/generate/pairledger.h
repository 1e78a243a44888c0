#pragma once

#include <cstdint>
#include <vector>

namespace quintaraz {

/**
 * An account of one of balance's figures for the two players that every other is an image
 * of, A and B, kept while terrain is painted: each cell counts for A, for B, for both or for
 * neither. Painting is welcome while it keeps the two within a tolerance of each other, or
 * brings them nearer.
 */
class PairLedger {
public:
    /** How near the two must stay. */
    enum class Tolerance {
        Slack,      // within 3% of the larger: a first reckoning that painting moves a little
        RatioOfNine // the smaller at least nine tenths of the larger, as balance asks
    };

    PairLedger(std::vector<std::uint8_t> countsForA, std::vector<std::uint8_t> countsForB,
               int totalA, int totalB, Tolerance tolerance);

    /** Whether cells, all taking (sign -1) or all giving (+1), keep the two near enough. */
    bool fits(const std::int16_t* cells, int count, int sign) const;
    /** Takes cells into the account. */
    void record(const std::int16_t* cells, int count, int sign);

    /** Whether the two are within the tolerance of each other. */
    bool even() const { return near(totalA_, totalB_); }
    int totalA() const { return totalA_; }
    int totalB() const { return totalB_; }

private:
    bool near(int a, int b) const;

    std::vector<std::uint8_t> forA_;
    std::vector<std::uint8_t> forB_;
    int totalA_;
    int totalB_;
    Tolerance tolerance_;
};

} // namespace quintaraz
