// Comparing call sequences with a readable account of the first difference.
#pragma once

#include <string>
#include <vector>

#include "gtest/gtest.h"

// Use as EXPECT_TRUE(SameCalls(actual, expected)) so that a failure names
// the caller's line and shows both sequences in full.
inline ::testing::AssertionResult SameCalls(const std::vector<std::string>& actual,
                                            const std::vector<std::string>& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    std::size_t first = 0;
    while (first < actual.size() && first < expected.size() && actual[first] == expected[first]) {
        ++first;
    }
    auto result = ::testing::AssertionFailure();
    result << "calls differ from #" << first << "\n  expected:";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        result << "\n    " << (i == first ? "> " : "  ") << expected[i];
    }
    result << "\n  actual:";
    for (std::size_t i = 0; i < actual.size(); ++i) {
        result << "\n    " << (i == first ? "> " : "  ") << actual[i];
    }
    return result;
}
