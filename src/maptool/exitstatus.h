#pragma once

namespace quintaraz {

/**
 * What quintaraz-map's exit status says. Several names share a number: each command gives 1
 * its own meaning, and scripts and git read the numbers.
 */
enum class ExitStatus {
    Success = 0,     // all went well; diff: the same map; merge: no conflicts; balance: fair
    Failed = 1,      // a file would not open or could not be written, or check --strict warns
    Different = 1,   // diff: the maps differ
    Conflicts = 1,   // merge: conflicts were left, each with our value
    NotBalanced = 1, // balance: some map is not balanced
    Trouble = 2,     // diff, merge, balance: a file could not be read or written
    Usage = 2,       // a command line that is not understood
};

} // namespace quintaraz
