#pragma once

#include <gtest/gtest.h>

#include "core/Log.h"
#include "support/TestLog.h"

// Base of the native tests that read the log: the process-wide log open and emptied for each test.
class LoggedTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }
};
