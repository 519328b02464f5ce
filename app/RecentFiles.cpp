#include "app/RecentFiles.h"

#include <system_error>
#include <utility>

#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace wemb {
namespace {

constexpr const char* section = "Recent File List";
constexpr int slotCount = 4;

std::string slotKey(int slot) {
    return "File" + std::to_string(slot);
}

// CP932 Japanese is hardly ever well-formed UTF-8, while UTF-8 Japanese often passes for some
// other CP932 text; so UTF-8 is recognised first.
std::string storedNameAsUtf8(const std::string& stored) {
    if (platform::isUtf8(stored)) {
        return stored;
    }
    std::string shown = platform::cp932ToUtf8(stored);
    // Bytes that are neither are a name in some third encoding: the file system takes it whole.
    return platform::utf8ToCp932(shown) == stored ? shown : stored;
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
        platform::createDirectories(directory);
    }
    for (int slot = 0; slot < slotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        const std::string& name = index < names.size() ? names[index] : std::string();
        platform::writeProfileString(settingsPath_, section, slotKey(slot), name);
    }
}

std::vector<std::string> Cp932RecentFileStore::load() {
    std::vector<std::string> names = stored_.load();
    for (std::string& name : names) {
        name = storedNameAsUtf8(name);
    }
    return names;
}

void Cp932RecentFileStore::save(const std::vector<std::string>& names) {
    std::vector<std::string> stored;
    for (const std::string& name : names) {
        if (std::optional<std::string> cp932 = platform::utf8ToCp932(name)) {
            stored.push_back(std::move(*cp932));
        }
    }
    stored_.save(stored);
}

}  // namespace wemb
