#pragma once
// The first holder of each name, for the lookups of a library and of a library set. Holders are
// numbers (an entry's index, say) that the caller turns into names, so no name is copied; each
// slot keeps the name's hash beside its holder, so that growing the table never reads a name and
// a probe compares names only when the hashes agree. Slots lie in one flat array: a library of a
// million entries costs no allocation per name.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace wemb {

class FirstNameTable {
  public:
    // Room for `count` names without growing.
    void reserve(std::size_t count) {
        std::size_t wanted = kMinimumSlots;
        while (wanted < 2 * count) {
            wanted *= 2;
        }
        if (wanted > slots_.size()) {
            rehash(wanted);
        }
    }

    std::size_t size() const { return count_; }

    // The holder of `name`, when one was added; `nameOf(holder)` gives a holder's name.
    template <typename NameOf>
    std::optional<std::uint32_t> find(std::string_view name, const NameOf& nameOf) const {
        if (slots_.empty()) {
            return std::nullopt;
        }
        const std::uint32_t hash = hashOf(name);
        for (std::size_t at = hash & mask();; at = (at + 1) & mask()) {
            const Slot& slot = slots_[at];
            if (slot.holderPlusOne == 0) {
                return std::nullopt;
            }
            if (slot.hash == hash && nameOf(slot.holderPlusOne - 1) == name) {
                return slot.holderPlusOne - 1;
            }
        }
    }

    // Adds `holder` under `name` unless the name has a holder already: the first one stays.
    // True when it was added.
    template <typename NameOf>
    bool add(std::string_view name, std::uint32_t holder, const NameOf& nameOf) {
        if (2 * (count_ + 1) > slots_.size()) {
            rehash(slots_.empty() ? kMinimumSlots : 2 * slots_.size());
        }
        const std::uint32_t hash = hashOf(name);
        std::size_t at = hash & mask();
        for (; slots_[at].holderPlusOne != 0; at = (at + 1) & mask()) {
            const Slot& slot = slots_[at];
            if (slot.hash == hash && nameOf(slot.holderPlusOne - 1) == name) {
                return false;
            }
        }
        slots_[at] = Slot{hash, holder + 1};
        ++count_;
        return true;
    }

    void clear() {
        slots_.clear();
        count_ = 0;
    }

  private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t holderPlusOne = 0;  // 0: an empty slot
    };
    static constexpr std::size_t kMinimumSlots = 16;

    static std::uint32_t hashOf(std::string_view name) {
        return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
    }
    std::size_t mask() const { return slots_.size() - 1; }

    void rehash(std::size_t slotCount) {
        std::vector<Slot> old(slotCount);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.holderPlusOne != 0) {
                std::size_t at = slot.hash & mask();
                while (slots_[at].holderPlusOne != 0) {
                    at = (at + 1) & mask();
                }
                slots_[at] = slot;
            }
        }
    }

    std::vector<Slot> slots_;  // a power of two in size, at most half of them in use
    std::size_t count_ = 0;
};

}  // namespace wemb
