#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TransportLifecycleModule.h"

namespace {

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

TEST(TransportLifecycleModuleTest, StopEndsBothAudioDirectionsBeforeTheInputChannel) {
    Calls().clear();
    TransportLifecycleModule::BindAudioStop([] { Calls().push_back("audio player"); },
                                            [] { Calls().push_back("audio sender"); });
    TransportLifecycleModule::BindInputStop(
        [](const char* reason) { Calls().push_back(std::string("hid ") + reason); },
        [] { Calls().push_back("input"); });
    TransportLifecycleModule module;
    module.Stop();
    TransportLifecycleModule::BindAudioStop(nullptr, nullptr);
    TransportLifecycleModule::BindInputStop(nullptr, nullptr);
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"audio player", "audio sender", "hid app lifecycle", "input"}));

    Calls().clear();
    module.Stop(); // nothing bound: nothing to call, and no crash
    EXPECT_TRUE(Calls().empty());
}

} // namespace
