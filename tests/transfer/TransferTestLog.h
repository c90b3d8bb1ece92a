#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "support/TestLog.h"

// A fixture whose log starts empty, for tests that check what the transfer code writes.
class TransferLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }

    static std::vector<std::string> Lines() { return TestLog().Messages(); }
};
