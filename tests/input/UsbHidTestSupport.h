#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Log.h"
#include "input/FakeHidTransport.h"
#include "input/HidCableFrame.h"
#include "input/UsbHidLink.h"
#include "support/TestLog.h"

// A device context over a recording fake cable, with a fresh test log. The log's clock moves on a long way
// for each test, so the device layer's throttled failure lines are written again.
class UsbHidFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestLog().tick += 100000;
        Log::Open();
        TestLog().Clear();
    }

    // The steps that show on the cable: searches, opens, closes, pauses and writes (not the length and
    // preparation calls before each write).
    std::vector<std::string> Steps() {
        std::vector<std::string> steps;
        for (const std::string& e : m_fake.Events())
            if (e.rfind("lengths", 0) != 0 && e.rfind("prepare", 0) != 0)
                steps.push_back(e);
        return steps;
    }

    // Opens the device through a first call and forgets the steps of the open.
    void OpenAndClear() {
        ASSERT_EQ(UsbHidLink::OpenHid(*m_context), 1);
        ASSERT_TRUE(UsbHidLink::IsOpen(*m_context));
        m_fake.ClearEvents();
    }

    bool LogHas(const std::string& needle) { return CountLogMessages(needle) > 0; }

    FakeHidTransport m_fake;
    std::unique_ptr<UsbHidContext> m_context = m_fake.MakeContext();
};

inline std::string KeyWrite(uint8_t modifiers, uint8_t usage) {
    return "write " + HexOf(BuildKeyboardFrame(modifiers, usage));
}

inline std::string MouseWrite(uint8_t buttons, int32_t x, int32_t y, int8_t wheel = 0) {
    return "write " + HexOf(BuildMouseFrame(buttons, x, y, wheel));
}

inline std::string CommandWrite(HidCableCommand command, uint8_t data) {
    return "write " + HexOf(BuildOneByteFrame(command, data));
}

// What the cable sees of the keyboard reset: Win pressed and released, Esc pressed and released, each pair
// after a 200 ms pause.
inline std::vector<std::string> ResetSteps() {
    return {"sleep 200", KeyWrite(0x08, 0),  KeyWrite(0x00, 0),
            "sleep 200", KeyWrite(0x00, 41), KeyWrite(0x00, 0)};
}

inline std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
