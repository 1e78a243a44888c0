#pragma once

#include <cstddef>

/** Counts heap allocations made through operator new in this program. */
namespace allocationcounter {

std::size_t count();

} // namespace allocationcounter
