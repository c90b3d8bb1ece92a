#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "input/InjectedClipboardHotkey.h"
#include "support/TestLog.h"

namespace {

class FakeClipboardPeers final : public IInputPeers {
public:
    bool HasRemoteFileOffer() override { return offer; }
    bool IsLocalClipboardEmpty() override { return localEmpty; }
    bool QueueRemoteFilesPaste() override {
        calls.push_back("paste");
        return pasteStarts;
    }
    void OnInjectedCtrlC() override { calls.push_back("ctrl-c"); }

    bool offer = false;
    bool localEmpty = false;
    bool pasteStarts = true;
    std::vector<std::string> calls;
};

InputPacket Key(int32_t vk, bool down) {
    return MakeInputPacket(InputPacketType::Key, 0, 0, vk, down ? 1 : 0);
}

class InjectedClipboardHotkeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    bool Handle(int32_t vk, bool down) { return m_hotkey.Handle(Key(vk, down), m_peers); }

    InjectedClipboardHotkey m_hotkey;
    FakeClipboardPeers m_peers;
};

TEST_F(InjectedClipboardHotkeyTest, CtrlVWithOfferAndEmptyClipboardIsConsumedAndPastes) {
    m_peers.offer = true;
    m_peers.localEmpty = true;
    EXPECT_FALSE(Handle(162, true));
    EXPECT_TRUE(Handle(86, true));
    EXPECT_EQ(m_peers.calls, std::vector<std::string>{"paste"});
    EXPECT_EQ(CountLogMessages("[CLIPFILE][CTRLV] consume=1 reason=remote-file-offer-local-empty ok=1"), 1u);
    EXPECT_FALSE(Handle(86, false)) << "the V key-up is injected";
}

TEST_F(InjectedClipboardHotkeyTest, CtrlVWithTextInTheLocalClipboardIsTyped) {
    m_peers.offer = true;
    m_peers.localEmpty = false;
    Handle(17, true);
    EXPECT_FALSE(Handle(86, true));
    EXPECT_TRUE(m_peers.calls.empty());
    EXPECT_EQ(CountLogMessages("[CLIPFILE][CTRLV] consume=0 reason=local-clipboard-not-empty"), 1u);
}

TEST_F(InjectedClipboardHotkeyTest, VWithoutCtrlOrWithoutOfferIsTyped) {
    m_peers.localEmpty = true;
    m_peers.offer = true;
    EXPECT_FALSE(Handle(86, true)) << "no Ctrl";
    Handle(163, true);
    Handle(163, false);
    EXPECT_FALSE(Handle(86, true)) << "Ctrl released again";
    m_peers.offer = false;
    Handle(17, true);
    EXPECT_FALSE(Handle(86, true)) << "no offer";
    EXPECT_TRUE(m_peers.calls.empty());
}

TEST_F(InjectedClipboardHotkeyTest, CtrlCStartsOneProbePerPressAndIsTyped) {
    EXPECT_FALSE(Handle(67, true)) << "C without Ctrl";
    EXPECT_TRUE(m_peers.calls.empty());
    Handle(17, true);
    EXPECT_FALSE(Handle(67, true));
    EXPECT_TRUE(m_hotkey.CtrlCHandled());
    EXPECT_FALSE(Handle(67, true)) << "key repeat";
    EXPECT_EQ(m_peers.calls, std::vector<std::string>{"ctrl-c"});
    EXPECT_EQ(CountLogMessages("[CLIPFILE][HOTKEY] injected Ctrl+C duplicate down ignored"), 1u);
    Handle(67, false);
    EXPECT_FALSE(Handle(67, true));
    EXPECT_EQ(m_peers.calls, (std::vector<std::string>{"ctrl-c", "ctrl-c"}));
    Handle(17, false);
    EXPECT_FALSE(m_hotkey.CtrlCHandled()) << "Ctrl up ends the press";
}

TEST_F(InjectedClipboardHotkeyTest, CtrlFromTheKeyboardSyncCounts) {
    m_peers.offer = true;
    m_peers.localEmpty = true;
    m_hotkey.OnKeyboardSync(true);
    EXPECT_TRUE(Handle(86, true));
    m_hotkey.OnKeyboardSync(false);
    EXPECT_FALSE(Handle(86, true));
    EXPECT_EQ(m_peers.calls, std::vector<std::string>{"paste"});
}

TEST_F(InjectedClipboardHotkeyTest, OtherPacketsAreIgnored) {
    m_peers.offer = true;
    m_peers.localEmpty = true;
    Handle(17, true);
    EXPECT_FALSE(m_hotkey.Handle(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 86, 1), m_peers));
    EXPECT_FALSE(Handle(65, true));
    EXPECT_TRUE(m_peers.calls.empty());
}

} // namespace
