#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace heptanote::testing {

// Names a parameterised case after its row's `name`, which may hold blanks and punctuation.
template <class Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    std::string name;
    for (const char c : std::string(info.param.name))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

}  // namespace heptanote::testing
