#pragma once
/// Whether a text holds a part, as tests assert it: either way the message shows the whole
/// text, so that EXPECT_TRUE and EXPECT_FALSE both tell what was there.

#include <gtest/gtest.h>

#include <string_view>

inline ::testing::AssertionResult Contains(std::string_view text, std::string_view part) {
    const bool found = text.find(part) != std::string_view::npos;
    return (found ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << '"' << part << (found ? "\" found in:\n" : "\" not found in:\n") << text;
}
