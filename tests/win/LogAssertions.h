#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "TestPaths.h"

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

// How often needle stands in text.
inline size_t CountOf(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

// The log of this test executable (Tessaly.log beside it).
inline std::string OwnLog() {
    return ReadWholeFile(TestExeFolder() + L"Tessaly.log");
}

// Polls the own log until it holds text `count` times or the time is up; returns the log.
inline std::string WaitForOwnLog(const std::string& text, DWORD timeoutMs, size_t count = 1) {
    DWORD start = GetTickCount();
    for (;;) {
        std::string log = OwnLog();
        if (CountOf(log, text) >= count || GetTickCount() - start >= timeoutMs)
            return log;
        Sleep(50);
    }
}

// The own log from byte offset on (an offset taken with OwnLog().size() before the step under test).
inline std::string OwnLogSince(size_t offset) {
    std::string log = OwnLog();
    return offset < log.size() ? log.substr(offset) : std::string();
}
