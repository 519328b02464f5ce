#include "numbering/PartFacts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>

#include "numbering/LibraryNameClass.h"
#include "numbering/OpenPackages.h"
#include "numbering/PassReason.h"
#include "numbering/RadixSort.h"
#include "numbering/ReferenceField.h"
#include "numbering/SideBySide.h"
#include "schematic/Document.h"

namespace wemb {
namespace {

// x (its sheet's offset included) and y, each made non-negative, x above y: the key orders like
// the pair. y is 16 bits; x, with at most 63 sheets' offsets, fits the 20 bits above it.
std::uint64_t positionKey(const PartEntry& part) {
    constexpr std::int32_t kBias = 32768;
    static_assert(std::int64_t{32767} + kBias + std::int64_t{kSheetXOffset} * kMaxSheets <
                  (std::int64_t{1} << 20));
    const auto x = static_cast<std::uint64_t>(part.x() + kBias);
    const auto y = static_cast<std::uint64_t>(part.y() + kBias);
    return (x << 16) | y;
}

// What a library name says of its parts, worked out once per distinct name: whether they are
// power symbols, and the block count the libraries give. Parts placed one after another (a row of
// resistors) often share a name, so the last one is kept at hand. A name's facts are kept beside
// its key in one table, so that a look-up reads one place, which can be asked for ahead: a drawing
// may use thousands of library names in no order, and the table is then read at random while the
// records stream through the cache.
class LibraryNameFacts {
  public:
    struct Facts {
        LibraryNameClass kind = LibraryNameClass::Ordinary;
        std::int32_t blocks = 1;
    };

    explicit LibraryNameFacts(const BlockCountLookup& libraries) : libraries_(libraries) {}

    static TextKey keyOf(const PartEntry& part) {
        return TextKey::zeroTerminated(part.libraryNameField());
    }
    void prefetch(std::uint64_t hash) const { prefetchForRead(&names_[hash & mask()]); }

    Facts of(const PartEntry& part, std::uint64_t hash) {
        const TextKey key = keyOf(part);
        if (key != lastKey_ || !lastKnown_) {  // the first name may be the empty one
            lastKey_ = key;
            lastKnown_ = true;
            last_ = factsOf(key, hash, part);
        }
        return last_;
    }

  private:
    struct Name {
        TextKey key;
        // A place that holds a name holds at least one block, so none marks an empty place.
        Facts facts{.kind = LibraryNameClass::Ordinary, .blocks = 0};
        bool empty() const { return facts.blocks == 0; }
    };

    std::size_t mask() const { return names_.size() - 1; }

    // The name's text is read only when it is new: most look-ups find their key.
    Facts factsOf(const TextKey& key, std::uint64_t hash, const PartEntry& part) {
        for (std::size_t slot = hash & mask();; slot = (slot + 1) & mask()) {
            Name& name = names_[slot];
            if (name.empty()) {
                name = {key, factsOfNew(part.libraryName())};
                const Facts facts = name.facts;
                if (++count_ * 2 > names_.size()) {
                    grow();
                }
                return facts;
            }
            if (name.key == key) {
                return name.facts;
            }
        }
    }
    Facts factsOfNew(std::string_view libraryName) const {
        Facts facts{classifyLibraryName(libraryName), 1};
        if (facts.kind == LibraryNameClass::Ordinary) {
            // A library may give a count of none: a single block, as the numbering reads it
            // anyway.
            facts.blocks = std::max(libraries_.blockCount(libraryName).value_or(1), 1);
        }
        return facts;
    }
    void grow() {
        std::vector<Name> names(names_.size() * 2);
        names.swap(names_);
        for (const Name& name : names) {
            if (!name.empty()) {
                std::size_t slot = TextKeyHash{}(name.key) & mask();
                while (!names_[slot].empty()) {
                    slot = (slot + 1) & mask();
                }
                names_[slot] = name;
            }
        }
    }

    const BlockCountLookup& libraries_;
    std::vector<Name> names_ = std::vector<Name>(64);  // a power of two
    std::size_t count_ = 0;
    TextKey lastKey_;
    bool lastKnown_ = false;
    Facts last_;
};

constexpr std::size_t kNameBitsValues = std::size_t{1} << 14;

TextKey partNameKey(const PartEntry& part) {
    return TextKey::counted(part.partNameField().first<PartEntry::kPartNameSize>(),
                            partNameText(part).size());
}

PartFact factOf(const PartEntry& part, LibraryNameClass kind, std::uint32_t fileIndex,
                bool dependenceNameMode, PrefixIds& prefixes) {
    const std::string_view reference = referenceText(part);
    const ReferenceSplit split = splitReference(reference);
    PartFact fact;
    fact.position = positionKey(part) & ((std::uint64_t{1} << 36) - 1);
    fact.fileIndex = fileIndex;
    fact.prefix = prefixes.idOf(packPrefix(reference.substr(0, split.prefixLength)));
    fact.partName = kNoPartName;
    fact.number = split.number;
    fact.prefixLength = split.prefixLength & 7;  // a reference holds at most 7 bytes
    fact.eligible = autonumPassReason(kind, reference, partNameText(part), dependenceNameMode) ==
                    PassReason::None;
    fact.hasNumber = endsWithDigit(reference);
    return fact;
}

// The ids of the part names that multi-block and power-prefixed parts bear, and how many such
// parts bear each.
struct TakenNames {
    explicit TakenNames(std::size_t parts) {
        ids.reserve(parts);
        partsOf.reserve(parts);
    }

    std::uint32_t take(const TextKey& key, std::uint64_t hash) {
        const std::uint32_t id = ids.idOf(key, hash);
        if (id == partsOf.size()) {
            partsOf.push_back(0);
        }
        ++partsOf[id];
        return id;
    }

    PartNameIds ids;
    std::vector<std::uint32_t> partsOf;  // by id
};

// Which part names multi-block parts have borne so far, told apart by some bits of their hashes:
// a name not seen before may pass for one seen, never the other way round. A multi-block part
// whose name no other multi-block or power-prefixed part bears needs no id (see
// forgetLonePackageNames), and on a drawing of a million differently named packages, giving each
// name an id would fill a table of a million names only to forget them.
class SeenNames {
  public:
    // Whether the name may have been seen before; from now on it has been.
    bool see(std::uint64_t nameHash) {
        const std::size_t bit = bitOf(nameHash);
        std::uint64_t& word = bits_[bit / 64];
        const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
        const bool seen = (word & mask) != 0;
        word |= mask;
        if (!seen && ++newNames_ * kBitsPerName > bits_.size() * 64) {
            grow();
        }
        return seen;
    }
    void prefetch(std::uint64_t nameHash) const { prefetchForWrite(&bits_[bitOf(nameHash) / 64]); }

  private:
    // A new name passes for a seen one about one time in sixteen.
    static constexpr std::size_t kBitsPerName = 16;

    // Bits above the name bits a fact keeps.
    std::size_t bitOf(std::uint64_t nameHash) const {
        return static_cast<std::size_t>(nameHash >> 14) & (bits_.size() * 64 - 1);
    }
    // Twice the bits, the old ones in both halves: a name's bit is one more bit of its hash
    // away, in either half, so every name seen stays seen. The table grows with the names, so
    // that a drawing of a few dozen package names keeps a few kilobytes of it.
    void grow() {
        const std::size_t words = bits_.size();
        bits_.resize(2 * words);
        std::copy_n(bits_.begin(), words, bits_.begin() + static_cast<std::ptrdiff_t>(words));
    }

    std::vector<std::uint64_t> bits_ = std::vector<std::uint64_t>(1024);
    std::size_t newNames_ = 0;
};

// The multi-block main parts that were the first to bear their names (`firstBearers`, indices
// into `mainParts`) take their ids where another part has taken the name since; the others stay
// without.
void nameFirstBearers(std::span<const PartEntry> parts, std::vector<PartFact>& mainParts,
                      const std::vector<std::uint32_t>& firstBearers, TakenNames& partNames) {
    const auto keyOf = [&](std::size_t k) {
        return partNameKey(parts[mainParts[firstBearers[k]].fileIndex]);
    };
    LookAhead hashes(firstBearers.size(), [&](std::size_t k) {
        const std::uint64_t hash = TextKeyHash{}(keyOf(k));
        partNames.ids.prefetch(hash);
        return hash;
    });
    for (std::size_t k = 0; k < firstBearers.size(); ++k) {
        const std::uint64_t hash = hashes.take(k);
        const TextKey key = keyOf(k);
        if (partNames.ids.find(key, hash) != PartNameIds::kAbsent) {
            mainParts[firstBearers[k]].partName = partNames.take(key, hash);
        }
    }
}

// A single-block main part is looked up by its part name only by power-prefixed parts of that
// name, which all have their ids by now: a name none of them bears needs none. Most parts are
// passed over by their name bits alone; the others are read again in file order, one record
// after the other, and looked up a few parts ahead of their use (see Prefetch.h).
void nameMainPartsSharingPowerNames(std::span<const PartEntry> parts,
                                    std::vector<PartFact>& mainParts,
                                    const std::vector<PartFact>& powerPrefixedParts,
                                    const PartNameIds& partNames) {
    std::bitset<kNameBitsValues> powerNameBits;
    for (const PartFact& fact : powerPrefixedParts) {
        powerNameBits.set(fact.nameBits);
    }
    const auto sharesBits = [&](const PartFact& fact) {
        return fact.eligible && fact.partName == kNoPartName && powerNameBits.test(fact.nameBits);
    };
    // The names are hashed and their slots asked for 16 parts ahead, the keys those slots name
    // 8 ahead: a look-up that finds its name reads both, each at a place as random as the other.
    constexpr std::size_t kKeyDistance = kPrefetchDistance / 2;
    LookAhead hashes(mainParts.size(), [&](std::size_t i) -> std::uint64_t {
        if (!sharesBits(mainParts[i])) {
            return 0;
        }
        const std::uint64_t hash = TextKeyHash{}(partNameKey(parts[mainParts[i].fileIndex]));
        partNames.prefetch(hash);
        return hash;
    });
    for (std::size_t i = 0; i < mainParts.size(); ++i) {
        const std::uint64_t hash = hashes.take(i);
        if (i + kKeyDistance < mainParts.size() && sharesBits(mainParts[i + kKeyDistance])) {
            partNames.prefetchKey(hashes.peek(i + kKeyDistance));
        }
        if (sharesBits(mainParts[i])) {
            mainParts[i].partName =
                partNames.find(partNameKey(parts[mainParts[i].fileIndex]), hash);
        }
    }
}

// A multi-block part whose name no other multi-block or power-prefixed part bears opens a package
// of its own, which nothing else fills: it needs no name, and the run no package state for it.
// Most such parts never took one (see SeenNames); those whose name passed for a seen one let it go.
void forgetLonePackageNames(std::vector<PartFact>& mainParts,
                            const std::vector<std::uint32_t>& partsOfName) {
    for (PartFact& fact : mainParts) {
        if (fact.blocks > 1 && fact.partName != kNoPartName && partsOfName[fact.partName] == 1) {
            fact.partName = kNoPartName;
        }
    }
}

// Sorts by position through a key with the bits in which all parts agree taken out: the place of
// a part in x and y above the smallest, side by side. On a real drawing both ranges are narrow,
// and a narrow key takes few passes of the sort; it orders exactly as the position does.
void sortByPosition(std::vector<PartFact>& parts, std::vector<PartFact>& room) {
    if (parts.empty()) {
        return;
    }
    std::uint64_t smallest = ~std::uint64_t{0};
    std::uint64_t smallestY = 0xffff;
    std::uint64_t largestY = 0;
    for (const PartFact& fact : parts) {
        smallest = std::min<std::uint64_t>(smallest, fact.position);
        smallestY = std::min<std::uint64_t>(smallestY, fact.position & 0xffff);
        largestY = std::max<std::uint64_t>(largestY, fact.position & 0xffff);
    }
    const std::uint64_t smallestX = smallest >> 16;
    const auto yBits = static_cast<int>(std::bit_width(largestY - smallestY));
    radixSortStable(
        parts,
        [=](const PartFact& fact) {
            const std::uint64_t x = (fact.position >> 16) - smallestX;
            const std::uint64_t y = (fact.position & 0xffff) - smallestY;
            return (x << yBits) | y;
        },
        room);
}

// The facts of every part in file order, each with the ids it needs.
PartFacts factsInFileOrder(std::span<const PartEntry> parts, bool dependenceNameMode,
                           const BlockCountLookup& libraries) {
    static_assert(PartNameIds::kAbsent == kNoPartName);
    PartFacts facts;
    // Every part may take a name, and may be a main or a power-prefixed part. Reserving room
    // for all of them costs address space only, where growing an array step by step would touch
    // fresh memory for every copy of it: on a large drawing the most costly thing a job does.
    TakenNames partNames(parts.size());
    SeenNames seenNames;
    std::vector<std::uint32_t> firstBearers;  // of multi-block parts' names, into mainParts
    firstBearers.reserve(parts.size());
    LibraryNameFacts libraryNames(libraries);
    facts.mainParts.reserve(parts.size());
    facts.powerPrefixedParts.reserve(parts.size());
    // Part and library names are hashed a few parts ahead, and their slots asked for (see
    // Prefetch.h).
    struct Hashes {
        std::uint64_t partName;
        std::uint64_t libraryName;
    };
    LookAhead nameHashes(parts.size(), [&](std::size_t i) {
        const std::uint64_t hash = TextKeyHash{}(partNameKey(parts[i]));
        partNames.ids.prefetch(hash);
        seenNames.prefetch(hash);
        const std::uint64_t libraryHash = TextKeyHash{}(LibraryNameFacts::keyOf(parts[i]));
        libraryNames.prefetch(libraryHash);
        return Hashes{hash, libraryHash};
    });
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const PartEntry& part = parts[i];
        const auto [nameHash, libraryHash] = nameHashes.take(i);
        const auto [kind, blocks] = libraryNames.of(part, libraryHash);
        if (kind == LibraryNameClass::Power) {
            continue;
        }
        PartFact fact =
            factOf(part, kind, static_cast<std::uint32_t>(i), dependenceNameMode, facts.prefixes);
        fact.blocks =
            static_cast<std::uint16_t>(std::clamp(blocks, 1, kMaxBlocksPerPackage)) & 0x1ff;
        fact.nameBits = nameHash & (kNameBitsValues - 1);
        // A multi-block part takes its name once the name has been seen, so only the first
        // bearer of each name waits to know whether another part bears it too.
        if (kind == LibraryNameClass::PowerPrefixed) {
            fact.partName = partNames.take(partNameKey(part), nameHash);
        } else if (fact.blocks > 1) {
            if (seenNames.see(nameHash)) {
                fact.partName = partNames.take(partNameKey(part), nameHash);
            } else {
                firstBearers.push_back(static_cast<std::uint32_t>(facts.mainParts.size()));
            }
        }
        // Copied as three words, so that the packed fields are put together in a register and
        // stored once: stored field by field, each would be read back from memory the array
        // has only just touched, and wait for it.
        const auto words = std::bit_cast<std::array<std::uint64_t, 3>>(fact);
        (kind == LibraryNameClass::Ordinary ? facts.mainParts : facts.powerPrefixedParts)
            .push_back(std::bit_cast<PartFact>(words));
    }
    nameFirstBearers(parts, facts.mainParts, firstBearers, partNames);
    seenNames = {};
    firstBearers = {};
    if (!facts.powerPrefixedParts.empty()) {
        nameMainPartsSharingPowerNames(parts, facts.mainParts, facts.powerPrefixedParts,
                                       partNames.ids);
    }
    forgetLonePackageNames(facts.mainParts, partNames.partsOf);
    return facts;
}

}  // namespace

PartFacts collectPartFacts(std::span<const PartEntry> parts, bool dependenceNameMode,
                           const BlockCountLookup& libraries) {
    // The sorts' second array is made while the facts are gathered.
    std::vector<PartFact> sortRoom;
    PartFacts facts;
    withRoomMadeAside(
        parts.size() >= radix::kSplitSize,
        [&] { facts = factsInFileOrder(parts, dependenceNameMode, libraries); },
        [&] { sortRoom.resize(parts.size()); });
    // The main parts hand the array they leave to the power-prefixed parts.
    sortByPosition(facts.mainParts, sortRoom);
    sortByPosition(facts.powerPrefixedParts, sortRoom);
    return facts;
}

}  // namespace wemb
