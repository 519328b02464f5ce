#include "library/text/TextAliasReader.h"

#include "library/text/TextSection.h"
#include "library/text/TextToken.h"

namespace wemb {

ReadResult<> readAlias(Library& library, const LibraryNameIndex& names, TextTokenizer& tokenizer) {
    std::string existingName;
    std::string newName;
    const auto onOther = [&](std::string_view other) -> ReadResult<> {
        if (const auto pair = splitKeyValue(other)) {
            if (pair->key == "N") {
                existingName = textValue(pair->value);
            } else if (pair->key == "A") {
                newName = textValue(pair->value);
            }
        }
        return {};
    };
    ReadResult<SectionEnd> end =
        readSection(tokenizer, "-ALIAS", skipEverySection(tokenizer), onOther);
    if (!end) {
        return std::move(end).error();
    }
    if (*end == SectionEnd::EndToken && (existingName.empty() || newName.empty())) {
        return errorAt(FileErrorKind::IncompleteSection, tokenizer.position(),
                       existingName.empty() ? "\"-ALIAS\" closes an alias without the name it "
                                              "stands for (\"N\")"
                                            : "\"-ALIAS\" closes an alias without its new name "
                                              "(\"A\")");
    }
    // Only names read so far can be found, so an alias reaches back, never forward.
    if (const LibraryPart* sharedPart = names.findEntryPart(existingName)) {
        library.addEntry(newName, sharedPart);
    }
    return {};
}

}  // namespace wemb
