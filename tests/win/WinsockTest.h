#pragma once

#include <winsock2.h>

#include <gtest/gtest.h>

#include "core/Log.h"

// Base of the tests that use sockets: Winsock started and the log open for each test.
class WinsockTest : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
    }
    void TearDown() override {
        Log::Close();
        WSACleanup();
    }
};
