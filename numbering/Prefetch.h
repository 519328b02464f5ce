#pragma once
// Reads and writes at random places of an array far larger than the cache each wait for memory,
// one after the other. Asked for a few items before they are needed, the waits overlap: on a
// drawing of a million parts that makes a look-up by part name, or a new reference written into
// the part's entry, several times faster.

#include <cstddef>

namespace wemb {

// How many items ahead a place is asked for: far enough for memory to answer in time, near
// enough for the place to be still in the cache when it is used.
inline constexpr std::size_t kPrefetchDistance = 16;

inline void prefetchForRead(const void* place) {
    __builtin_prefetch(place, 0);
}
inline void prefetchForWrite(const void* place) {
    __builtin_prefetch(place, 1);
}

}  // namespace wemb
