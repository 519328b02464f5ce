#pragma once
// A fresh directory under /tmp for one test, removed with everything in it afterwards, and the
// few file helpers the platform tests share.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wemb::platform::testing {

class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // The names in the directory (not recursive).
    std::set<std::string> names() const;

  private:
    std::string path_;
};

std::vector<std::uint8_t> bytesOf(const std::string& text);
void writeFile(const std::string& path, const std::string& content);
// The file's content, nullopt when it cannot be read as a regular file.
std::optional<std::string> readFile(const std::string& path);

}  // namespace wemb::platform::testing
