#include "media/VideoColor.h"

#include <gtest/gtest.h>

TEST(EnvSwitch, FirstCharacterDecides) {
    struct Case {
        const char* value;
        bool on;
    } cases[] = {
        {"1", true},   {"true", true}, {"True", true}, {"yes", true}, {"Y", true},
        {"on", false}, {"0", false},   {"", false},    {"no", false}, {" 1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsEnvSwitchOn(c.value), c.on) << c.value;
    }
    EXPECT_FALSE(IsEnvSwitchOn(nullptr));
}
