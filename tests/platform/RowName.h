#pragma once
// Table rows describe themselves; their descriptions become the names of the generated tests.

#include <string>

#include <gtest/gtest.h>

namespace wemb::platform::testing {

struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& param) const {
        std::string name(param.param.name);
        for (char& c : name) {
            const bool alphanumeric =
                (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            c = alphanumeric ? c : '_';
        }
        return name;
    }
};

}  // namespace wemb::platform::testing
