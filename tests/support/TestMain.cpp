#include <gtest/gtest.h>

#include "core/Log.h"
#include "support/TestLog.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Log::InstallPlatform(&TestLog());
    return RUN_ALL_TESTS();
}
