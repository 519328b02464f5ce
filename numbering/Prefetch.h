#pragma once
// Reads and writes at random places of an array far larger than the cache each wait for memory,
// one after the other. Asked for a few items before they are needed, the waits overlap: on a
// drawing of a million parts that makes a look-up by part name, or a new reference written into
// the part's entry, several times faster.

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

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

// A value worked out for each of `count` items kPrefetchDistance items before the item is used:
// the hash of the key an item looks up, say, whose places `workOut(i)` asks for as it returns
// item i's hash. Items are taken in turn.
template <class WorkOut>
class LookAhead {
  public:
    using Value = std::invoke_result_t<WorkOut&, std::size_t>;

    LookAhead(std::size_t count, WorkOut workOut) : count_(count), workOut_(workOut) {
        for (std::size_t i = 0; i < kPrefetchDistance && i < count_; ++i) {
            values_[i] = workOut_(i);
        }
    }

    // Item i's value, worked out earlier; item i + kPrefetchDistance's is worked out now.
    Value take(std::size_t i) {
        const Value value = values_[i % kPrefetchDistance];
        if (i + kPrefetchDistance < count_) {
            values_[i % kPrefetchDistance] = workOut_(i + kPrefetchDistance);
        }
        return value;
    }
    // The value of an item after the one taken last, and not beyond kPrefetchDistance ahead.
    const Value& peek(std::size_t i) const { return values_[i % kPrefetchDistance]; }

  private:
    std::size_t count_;
    WorkOut workOut_;
    std::array<Value, kPrefetchDistance> values_{};
};

}  // namespace wemb
