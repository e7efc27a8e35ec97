#pragma once
// Heap bytes in use, counted by replacing the global operator new and delete
// of the program that links alloc_counter.cpp. Sizes are the allocator's
// usable sizes (what the heap really hands out, slack included), so a table's
// count is its true footprint, not just the bytes it asked for.
#include <cstddef>

namespace bench::heap {

std::size_t liveBytes();
std::size_t peakBytes();
// Starts a new peak at the current live bytes.
void resetPeak();

}  // namespace bench::heap
