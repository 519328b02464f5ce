#include "app/RecentFiles.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace wemb {
namespace {

constexpr const char* section = "Recent File List";
constexpr int slotCount = 4;

std::string slotKey(int slot) {
    return "File" + std::to_string(slot);
}

}  // namespace

IniRecentFileStore::IniRecentFileStore(std::string settingsPath)
    : settingsPath_(std::move(settingsPath)) {}

std::vector<std::string> IniRecentFileStore::load() {
    std::vector<std::string> names;
    for (int slot = 0; slot < slotCount; ++slot) {
        std::string name = platform::readProfileString(settingsPath_, section, slotKey(slot));
        if (name.empty()) {
            break;  // a gap hides whatever is stored after it
        }
        names.push_back(std::move(name));
    }
    return names;
}

void IniRecentFileStore::save(const std::vector<std::string>& names) {
    const std::string directory = platform::directoryOf(settingsPath_);
    if (!directory.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(directory, ignored);
    }
    for (int slot = 0; slot < slotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        const std::string& name = index < names.size() ? names[index] : std::string();
        platform::writeProfileString(settingsPath_, section, slotKey(slot), name);
    }
}

}  // namespace wemb
