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

// Names as a UTF-8 file system spells them, over a store that keeps CP932 as Wemb.INI does on
// Windows, so a file brought from there reads right. A name CP932 cannot hold is left out and
// the names after it move up, since an empty slot would hide them. A stored name that is
// already UTF-8, as older builds for Linux wrote, is taken as it is.
class Cp932RecentFileStore final : public RecentFileStore {
  public:
    explicit Cp932RecentFileStore(RecentFileStore& stored) : stored_(stored) {}

    std::vector<std::string> load() override;
    void save(const std::vector<std::string>& names) override;

  private:
    RecentFileStore& stored_;
};

}  // namespace wemb
