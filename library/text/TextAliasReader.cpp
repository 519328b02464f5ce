#include "library/text/TextAliasReader.h"

#include "library/text/TextSection.h"
#include "library/text/TextToken.h"

namespace wemb {

bool readAlias(Library& library, const LibraryNameIndex& names, TextTokenizer& tokenizer,
               std::string& token) {
    std::string existingName;
    std::string newName;
    const auto onOther = [&](const std::string& other) {
        if (const auto pair = splitKeyValue(other)) {
            if (pair->key == "N") {
                existingName = textValue(pair->value);
            } else if (pair->key == "A") {
                newName = textValue(pair->value);
            }
        }
        return true;
    };
    const SectionEnd end =
        readSection(tokenizer, token, "-ALIAS", skipEverySection(tokenizer), onOther);
    if (end == SectionEnd::Failed ||
        (end == SectionEnd::EndToken && (existingName.empty() || newName.empty()))) {
        return false;
    }
    // Only names read so far can be found, so an alias reaches back, never forward.
    if (const LibraryPart* sharedPart = names.findEntryPart(existingName)) {
        library.addEntry(std::move(newName), sharedPart);
    }
    return true;
}

}  // namespace wemb
