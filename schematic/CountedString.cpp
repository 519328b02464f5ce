#include "schematic/CountedString.h"

#include <algorithm>

namespace wemb {

std::string readCountedString(std::span<const std::uint8_t> field) {
    return std::string(countedStringView(field));
}

void writeCountedString(std::string_view text, std::span<std::uint8_t> field) {
    if (field.empty()) {
        return;
    }
    const std::size_t count = std::min(text.size(), field.size() - 1);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), count, field.begin() + 1);
    field[0] = static_cast<std::uint8_t>(count);
}

}  // namespace wemb
