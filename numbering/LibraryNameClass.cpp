#include "numbering/LibraryNameClass.h"

#include <array>

namespace wemb {
namespace {

constexpr std::array<std::string_view, 5> kPowerNames = {"VCC", "VDD", "GND", "VEE", "VSS"};

}  // namespace

LibraryNameClass classifyLibraryName(std::string_view libraryName) {
    for (const std::string_view power : kPowerNames) {
        if (libraryName.starts_with(power)) {
            return libraryName.size() == power.size() ? LibraryNameClass::Power
                                                      : LibraryNameClass::PowerPrefixed;
        }
    }
    return LibraryNameClass::Ordinary;
}

}  // namespace wemb
