#pragma once
// The seed corpus of the binary library fuzzer, made by the builder: libraries that load
// ("valid-...") and libraries broken in one place each ("broken-...").

#include <cstdint>
#include <string>
#include <vector>

namespace wemb::test {

struct BinarySeed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<BinarySeed> binarySeeds();

}  // namespace wemb::test
