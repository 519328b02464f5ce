#include "app/UnseenSheets.h"

#include <algorithm>
#include <filesystem>

#include "platform/Paths.h"
#include "schematic/Document.h"

namespace wemb {

std::string UnseenSheets::note() const {
    if (files.empty()) {
        return {};
    }
    std::string names;
    for (const std::string& file : files) {
        names += (names.empty() ? "" : ", ") + platform::fileNameOf(file);
    }
    const bool one = files.size() == 1;
    return names + (one ? " exists" : " exist") + " beside " + platform::fileNameOf(dataFile) +
           ", which holds " + std::to_string(sheetCount) +
           (sheetCount == 1 ? " sheet" : " sheets") +
           (one ? ": its numbers are not seen" : ": their numbers are not seen");
}

UnseenSheets findUnseenSheets(const std::string& dataFile, int sheetCount) {
    UnseenSheets unseen{dataFile, sheetCount, {}};
    for (int sheet = std::max(sheetCount, 1); sheet < kMaxSheets; ++sheet) {
        const std::string file = Document::sheetFileName(dataFile, sheet);
        std::error_code error;
        if (std::filesystem::exists(file, error)) {
            unseen.files.push_back(file);
        }
    }
    return unseen;
}

}  // namespace wemb
