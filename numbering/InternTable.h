#pragma once
// Gives each distinct key a small dense id (0, 1, 2, ... in order of first sight), so that the
// per-prefix and per-name state of a run lives in plain vectors indexed by id. Open addressing
// over a power-of-two table: one probe for most keys, no node per key.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "numbering/Prefetch.h"

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

// A short text held in the key itself, so that comparing two is comparing two pairs of integers,
// with no visit to where the texts came from.
struct TextKey {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const TextKey&) const = default;

    // A counted field's text: its length, then its `length` bytes, zero-padded. The field is read
    // whole, so that making a key copies no text byte by byte.
    static TextKey counted(std::span<const std::uint8_t, 16> field, std::size_t length) {
        std::array<unsigned char, 16> bytes;
        std::memcpy(bytes.data(), field.data(), bytes.size());
        bytes[0] = static_cast<unsigned char>(length);
        return packed(bytes).firstBytes(length + 1);
    }
    // A library name: the field's bytes up to its first zero byte, all 16 when it holds none,
    // zero-padded, which tells any two names apart. Found a word at a time, with no scan for the
    // name's length.
    static TextKey zeroTerminated(std::span<const std::uint8_t, 16> field) {
        std::array<unsigned char, 16> bytes;
        std::memcpy(bytes.data(), field.data(), bytes.size());
        const TextKey key = packed(bytes);
        const std::uint64_t lowKept = bytesBeforeZero(key.low);
        if (lowKept != ~std::uint64_t{0}) {
            return {key.low & lowKept, 0};
        }
        return {key.low, key.high & bytesBeforeZero(key.high)};
    }

  private:
    // A mask of the bytes of a word that come before its first zero byte, all of them when it
    // has none. The first byte of the text is the word's lowest, as x86 and ARM load it. A byte
    // is flagged as zero only at or above the first true zero, so the lowest flag is exact.
    static std::uint64_t bytesBeforeZero(std::uint64_t word) {
        static_assert(std::endian::native == std::endian::little);
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        const std::uint64_t zeros = (word - kOnes) & ~word & (kOnes << 7);
        if (zeros == 0) {
            return ~std::uint64_t{0};
        }
        // Every bit below the first zero byte's flag: the bytes before it, and the zero byte's own
        // low bits, which are zero anyway.
        return (std::uint64_t{1} << std::countr_zero(zeros)) - 1;
    }
    static TextKey packed(const std::array<unsigned char, 16>& bytes) {
        TextKey key;
        std::memcpy(&key.low, bytes.data(), 8);
        std::memcpy(&key.high, bytes.data() + 8, 8);
        return key;
    }
    // The first `count` bytes (at most 16) kept, the others zero.
    TextKey firstBytes(std::size_t count) const {
        static constexpr auto kMasks = [] {
            std::array<std::array<unsigned char, 16>, 17> masks{};
            for (std::size_t kept = 0; kept < masks.size(); ++kept) {
                for (std::size_t i = 0; i < kept; ++i) {
                    masks[kept][i] = 0xff;
                }
            }
            return masks;
        }();
        const TextKey mask = packed(kMasks[count]);
        return {low & mask.low, high & mask.high};
    }
};

struct TextKeyHash {
    std::uint64_t operator()(const TextKey& key) const {
        return mixBits(key.low ^ mixBits(key.high + 0x9e3779b97f4a7c15ULL));
    }
};

template <class Key, class Hash>
class InternTable {
  public:
    std::uint32_t idOf(const Key& key) { return idOf(key, Hash{}(key)); }
    // The same, for a key whose hash the caller has already worked out.
    std::uint32_t idOf(const Key& key, std::uint64_t hash) {
        if ((keys_.size() + 1) * 2 > slots_.size()) {
            grow();
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = home(hash, mask);; slot = (slot + 1) & mask) {
            if (slots_[slot] == kEmpty) {
                const auto id = static_cast<std::uint32_t>(keys_.size());
                slots_[slot] = slotOf(hash, id);
                keys_.push_back(key);
                return id;
            }
            if (holds(slots_[slot], hash, key)) {
                return idIn(slots_[slot]);
            }
        }
    }

    // Asks for the slot a key of this hash is first looked for in (see Prefetch.h).
    void prefetch(std::uint64_t hash) const {
        prefetchForRead(&slots_[home(hash, slots_.size() - 1)]);
    }
    // Asks for the key that slot names, once the slot is at hand: a look-up that finds its key
    // reads it, at a place as random as the slot's.
    void prefetchKey(std::uint64_t hash) const {
        const std::uint64_t slot = slots_[home(hash, slots_.size() - 1)];
        if (slot != kEmpty && (slot >> 32) == (hash >> 32)) {
            prefetchForRead(&keys_[idIn(slot)]);
        }
    }

    // The id of a key seen before, or kAbsent.
    std::uint32_t find(const Key& key) const { return find(key, Hash{}(key)); }
    std::uint32_t find(const Key& key, std::uint64_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = home(hash, mask);; slot = (slot + 1) & mask) {
            if (slots_[slot] == kEmpty) {
                return kAbsent;
            }
            if (holds(slots_[slot], hash, key)) {
                return idIn(slots_[slot]);
            }
        }
    }

    // Room for `count` keys without moving them. A large reservation costs address space only:
    // its pages are touched as keys arrive, and the keys are never copied to a larger array,
    // which at a million keys would hold the old and the new array at once.
    void reserve(std::size_t count) { keys_.reserve(count); }

    const Key& key(std::uint32_t id) const { return keys_[id]; }
    std::size_t size() const { return keys_.size(); }

    static constexpr std::uint32_t kAbsent = 0xffffffffU;

  private:
    // A slot holds the upper half of its key's hash beside the id, so that a probe passes over
    // other keys without reading them, and growing places every key again without hashing it:
    // a key may be a view into a large buffer, and reading it would miss the cache.
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};

    static std::uint64_t slotOf(std::uint64_t hash, std::uint32_t id) {
        return (hash & 0xffffffff00000000ULL) | id;
    }
    static std::size_t home(std::uint64_t hash, std::size_t mask) {
        return static_cast<std::size_t>(hash >> 32) & mask;
    }
    static std::uint32_t idIn(std::uint64_t slot) {
        return static_cast<std::uint32_t>(slot & 0xffffffffU);
    }
    bool holds(std::uint64_t slot, std::uint64_t hash, const Key& key) const {
        return (slot >> 32) == (hash >> 32) && keys_[idIn(slot)] == key;
    }

    void grow() {
        std::vector<std::uint64_t> slots(slots_.size() * 2, kEmpty);
        const std::size_t mask = slots.size() - 1;
        for (const std::uint64_t taken : slots_) {
            if (taken == kEmpty) {
                continue;
            }
            std::size_t slot = home(taken, mask);
            while (slots[slot] != kEmpty) {
                slot = (slot + 1) & mask;
            }
            slots[slot] = taken;
        }
        slots_.swap(slots);
    }

    // Never empty, so that no look-up has to ask.
    std::vector<std::uint64_t> slots_ = std::vector<std::uint64_t>(64, kEmpty);
    std::vector<Key> keys_;
};

}  // namespace wemb
