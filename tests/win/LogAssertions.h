#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Each entry must occur in log, in this order.
inline ::testing::AssertionResult InOrder(const std::string& log, const std::vector<std::string>& lines) {
    size_t at = 0;
    for (const std::string& line : lines) {
        size_t found = log.find(line, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "missing or out of order: " << line << "\nlog:\n" << log;
        at = found + line.size();
    }
    return ::testing::AssertionSuccess();
}
