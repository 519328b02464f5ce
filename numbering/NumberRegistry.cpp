#include "numbering/NumberRegistry.h"

namespace wemb {

void NumberRegistry::add(std::string_view prefix, std::int64_t number) {
    numbers_[std::string(prefix)].insert(number);
}

bool NumberRegistry::contains(std::string_view prefix, std::int64_t number) const {
    const auto found = numbers_.find(std::string(prefix));
    return found != numbers_.end() && found->second.contains(number);
}

}  // namespace wemb
