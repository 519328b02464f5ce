#pragma once
// Gives each distinct key a small dense id (0, 1, 2, ... in order of first sight), so that the
// per-prefix and per-name state of a run lives in plain vectors indexed by id. Open addressing
// over a power-of-two table: one probe for most keys, no node per key.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace wemb {

inline std::uint64_t mixBits(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

struct IntegerKeyHash {
    std::uint64_t operator()(std::uint64_t key) const { return mixBits(key); }
};

struct BytesKeyHash {
    std::uint64_t operator()(std::string_view key) const {
        std::uint64_t hash = key.size();
        for (std::size_t at = 0; at < key.size(); at += 8) {
            std::uint64_t chunk = 0;
            std::memcpy(&chunk, key.data() + at, std::min<std::size_t>(8, key.size() - at));
            hash = mixBits(hash ^ chunk);
        }
        return hash;
    }
};

template <class Key, class Hash>
class InternTable {
  public:
    std::uint32_t idOf(const Key& key) {
        if ((keys_.size() + 1) * 2 > slots_.size()) {
            grow();
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = Hash{}(key)&mask;; slot = (slot + 1) & mask) {
            if (slots_[slot] == kEmpty) {
                slots_[slot] = static_cast<std::uint32_t>(keys_.size());
                keys_.push_back(key);
                return slots_[slot];
            }
            if (keys_[slots_[slot]] == key) {
                return slots_[slot];
            }
        }
    }

    // The id of a key seen before, or kAbsent.
    std::uint32_t find(const Key& key) const {
        if (slots_.empty()) {
            return kAbsent;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = Hash{}(key)&mask;; slot = (slot + 1) & mask) {
            if (slots_[slot] == kEmpty || keys_[slots_[slot]] == key) {
                return slots_[slot];
            }
        }
    }

    const Key& key(std::uint32_t id) const { return keys_[id]; }
    std::size_t size() const { return keys_.size(); }

    static constexpr std::uint32_t kAbsent = 0xffffffffU;

  private:
    static constexpr std::uint32_t kEmpty = kAbsent;

    void grow() {
        std::vector<std::uint32_t> slots(slots_.empty() ? 64 : slots_.size() * 2, kEmpty);
        const std::size_t mask = slots.size() - 1;
        for (std::uint32_t id = 0; id < keys_.size(); ++id) {
            std::size_t slot = Hash{}(keys_[id]) & mask;
            while (slots[slot] != kEmpty) {
                slot = (slot + 1) & mask;
            }
            slots[slot] = id;
        }
        slots_.swap(slots);
    }

    std::vector<std::uint32_t> slots_;
    std::vector<Key> keys_;
};

}  // namespace wemb
