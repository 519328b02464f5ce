#pragma once
// The names last run, kept between sessions in the tool's own settings file "Wemb.INI": section
// "Recent File List", keys File0 (most recent) to File3.

#include <string>
#include <vector>

namespace wemb {

class RecentFileStore {
  public:
    virtual ~RecentFileStore() = default;
    // The stored names in key order, up to the first empty slot.
    virtual std::vector<std::string> load() = 0;
    // Stores the first four names; slots beyond them are written empty, never deleted.
    virtual void save(const std::vector<std::string>& names) = 0;
};

class IniRecentFileStore final : public RecentFileStore {
  public:
    explicit IniRecentFileStore(std::string settingsPath);

    std::vector<std::string> load() override;
    // Creates the file, and its directory when that is missing; a file that cannot be written
    // simply keeps nothing.
    void save(const std::vector<std::string>& names) override;

    const std::string& settingsPath() const { return settingsPath_; }

  private:
    std::string settingsPath_;
};

}  // namespace wemb
