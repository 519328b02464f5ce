#include "app/DrawingCheck.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "app/LibraryBlockCounts.h"
#include "app/OpenDrawing.h"
#include "app/PartChanges.h"
#include "library/LibrarySet.h"
#include "numbering/LibraryNameClass.h"
#include "numbering/ReferenceField.h"

namespace wemb {
namespace {

// What the checks ask of one part, worked out once.
struct PartInCheck {
    CheckedPart part;
    LibraryNameClass libraryClass = LibraryNameClass::Ordinary;
    std::optional<int> blockCount;  // none: no library knows the part
    ReferenceSplit split;
};

CheckedPart checkedPart(const Document& document, const PartEntry& entry, std::size_t index) {
    const PartRow described = describePart(document, entry);
    return {index,
            described.sheet,
            described.x,
            described.y,
            described.partName,
            described.libraryName,
            described.oldReference,
            described.oldBlock};
}

std::vector<PartInCheck> factsOf(const Document& document, const BlockCountLookup& libraries) {
    std::vector<PartInCheck> facts;
    const auto parts = document.parts();
    facts.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        PartInCheck fact;
        fact.part = checkedPart(document, parts[i], i);
        fact.libraryClass = classifyLibraryName(fact.part.libraryName);
        fact.blockCount = libraries.blockCount(fact.part.libraryName);
        fact.split = splitReference(fact.part.reference);
        facts.push_back(std::move(fact));
    }
    return facts;
}

bool isPowerSymbol(const PartInCheck& fact) {
    return fact.libraryClass == LibraryNameClass::Power;
}

Finding finding(FindingKind kind, const PartInCheck& fact) {
    Finding result;
    result.kind = kind;
    result.part = fact.part;
    return result;
}

PassReason passReason(const PartInCheck& fact, const CheckSettings& settings) {
    return autonumPassReason(fact.libraryClass, fact.part.reference, fact.part.partName,
                             settings.dependenceNameMode);
}

// A block is out of range only against a count some library gives; 0 and 1 both mean a
// single block, as numbering takes them.
bool blockOutOfRange(const PartInCheck& fact) {
    return fact.blockCount && fact.part.block >= std::max(*fact.blockCount, 1);
}

// The findings that concern one part by itself.
void findSingleParts(const std::vector<PartInCheck>& facts, const CheckSettings& settings,
                     std::vector<Finding>& findings) {
    for (const PartInCheck& fact : facts) {
        if (const PassReason reason = passReason(fact, settings); reason != PassReason::None) {
            Finding passed = finding(FindingKind::PassedOver, fact);
            passed.reason = reason;
            findings.push_back(std::move(passed));
        }
        // Power symbols are never numbered, so their references say nothing about numbering.
        if (isPowerSymbol(fact)) {
            continue;
        }
        if (!endsWithDigit(fact.part.reference)) {
            findings.push_back(finding(FindingKind::MissingNumber, fact));
        }
        if (fact.part.reference.size() >= kReferenceCapacity) {
            findings.push_back(finding(FindingKind::ReferenceAtLimit, fact));
        }
        // Numbering never writes the block of a power-prefixed part, so what it holds is moot.
        if (fact.libraryClass == LibraryNameClass::Ordinary && !fact.part.reference.empty() &&
            blockOutOfRange(fact)) {
            Finding outOfRange = finding(FindingKind::BlockOutOfRange, fact);
            outOfRange.blockCount = *fact.blockCount;
            findings.push_back(std::move(outOfRange));
        }
    }
}

// How the parts that share one prefix and number stand to each other. They are one package
// when they bear one part name and their blocks are distinct and within the package; a
// power-prefixed part follows the number of its package, once, whatever its block.
// Nothing when they are one package.
std::optional<FindingKind> sharedNumberFinding(const std::vector<const PartInCheck*>& group) {
    std::vector<int> blocks;
    int powerPrefixed = 0;
    bool blocksFit = true;
    for (const PartInCheck* fact : group) {
        if (fact->libraryClass == LibraryNameClass::PowerPrefixed) {
            ++powerPrefixed;
            continue;
        }
        blocks.push_back(fact->part.block);
        blocksFit = blocksFit && !blockOutOfRange(*fact);
    }
    std::sort(blocks.begin(), blocks.end());
    const bool blocksDistinct = std::adjacent_find(blocks.begin(), blocks.end()) == blocks.end();
    if (!blocksDistinct || !blocksFit || powerPrefixed > 1) {
        return FindingKind::DuplicateReference;
    }
    const std::string& name = group.front()->part.partName;
    const bool namesAgree = std::all_of(group.begin(), group.end(), [&](const PartInCheck* fact) {
        return fact->part.partName == name;
    });
    if (namesAgree) {
        return std::nullopt;
    }
    return FindingKind::PackageNameMismatch;
}

// Numbers are counted per prefix across the whole file, so a number is shared across sheets
// too. R5 and R05 carry the same number.
void findSharedNumbers(const std::vector<PartInCheck>& facts, std::vector<Finding>& findings) {
    std::map<std::pair<std::string, int>, std::vector<const PartInCheck*>> byNumber;
    for (const PartInCheck& fact : facts) {
        if (!isPowerSymbol(fact) && endsWithDigit(fact.part.reference)) {
            byNumber[{fact.part.reference.substr(0, fact.split.prefixLength), fact.split.number}]
                .push_back(&fact);
        }
    }
    for (const auto& [number, group] : byNumber) {
        if (group.size() < 2) {
            continue;
        }
        const std::optional<FindingKind> kind = sharedNumberFinding(group);
        if (!kind) {
            continue;
        }
        for (const PartInCheck* fact : group) {
            Finding shared = finding(*kind, *fact);
            shared.sharedBy = static_cast<int>(group.size());
            findings.push_back(std::move(shared));
        }
    }
}

std::vector<int> partsOnSheets(const std::vector<PartInCheck>& facts, int sheetCount) {
    std::vector<int> counts(static_cast<std::size_t>(std::max(sheetCount, 0)), 0);
    for (const PartInCheck& fact : facts) {
        if (fact.part.sheet >= 0 && fact.part.sheet < sheetCount) {
            ++counts[static_cast<std::size_t>(fact.part.sheet)];
        }
    }
    return counts;
}

}  // namespace

bool isProblem(FindingKind kind) {
    return kind != FindingKind::PassedOver;
}

int DrawingCheck::count(FindingKind kind) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [&](const Finding& f) { return f.kind == kind; }));
}

int DrawingCheck::countOnSheet(int sheet, FindingKind kind) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [&](const Finding& f) {
        return f.kind == kind && f.part.sheet == sheet;
    }));
}

int DrawingCheck::problemCount() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [](const Finding& f) { return isProblem(f.kind); }));
}

DrawingCheck checkDrawing(const Document& document, const BlockCountLookup& libraries,
                          const CheckSettings& settings) {
    const std::vector<PartInCheck> facts = factsOf(document, libraries);
    DrawingCheck check;
    check.sheetCount = document.sheetCount();
    check.partsOnSheet = partsOnSheets(facts, check.sheetCount);
    findSingleParts(facts, settings, check.findings);
    findSharedNumbers(facts, check.findings);
    std::sort(check.findings.begin(), check.findings.end(), [](const Finding& a, const Finding& b) {
        return std::tuple(a.part.sheet, a.kind, a.part.index) <
               std::tuple(b.part.sheet, b.kind, b.part.index);
    });
    return check;
}

CheckReport runCheck(const CheckRequest& request, const JobEnvironment& environment) {
    CheckReport report;
    ReadResult<OpenDrawing> opened = openDrawing(request.fileName, environment);
    if (!opened) {
        report.outcome = MessageId::ReadFailed;
        report.readError = opened.error();
        report.messageFile = request.fileName;
        return report;
    }
    LibrarySetLoad libraries = librariesFor(opened->locked, environment);
    report.failedLibrary = std::move(libraries.failedLibrary);
    report.check =
        checkDrawing(opened->locked.document, LibraryBlockCounts(libraries.set), request.settings);
    report.unseenSheets = std::move(opened->unseenSheets);
    return report;
}

}  // namespace wemb
