#pragma once
// Measures the memory this test program holds through operator new, so that a test can keep a
// reader to a memory budget proportional to its input. Only the program that links
// AllocationCounter.cpp measures.

#include <cstddef>

namespace wemb::testing {

// Starts a new measurement: the peak is set back to what is held now.
void resetPeakMemory();
// The most held at any moment since the last reset, beyond what was held at the reset.
std::size_t peakMemorySinceReset();

}  // namespace wemb::testing
