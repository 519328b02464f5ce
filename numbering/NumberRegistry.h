#pragma once
// The numbers that parts carry when an Autonum run starts, per reference prefix, so that
// Autonum-LockedMode hands none of them out again.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace wemb {

class NumberRegistry {
  public:
    void clear() { numbers_.clear(); }
    void add(std::string_view prefix, std::int64_t number);
    bool contains(std::string_view prefix, std::int64_t number) const;

  private:
    std::unordered_map<std::string, std::unordered_set<std::int64_t>> numbers_;
};

}  // namespace wemb
