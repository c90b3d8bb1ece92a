#include <gtest/gtest.h>

#include "core/Log.h"
#include "core/win/Win32LogPlatform.h"

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Log::InstallPlatform(&Win32LogPlatform());
    return RUN_ALL_TESTS();
}
