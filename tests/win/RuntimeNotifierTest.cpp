// Under Wine: the runtime-state message 0x8420 and the drag-connection message 0x8430 reach a real window
// through the Win32 poster, and a post to a destroyed window clears the pending flag.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/RuntimeState.h"
#include "core/win/RuntimeNotifierWin.h"
#include "core/StateManager.h"

namespace {

class RuntimeNotifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TslyRuntimeNotifierTest";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
        ASSERT_NE(m_window, nullptr);
        RuntimeStateReset();
        RuntimeSetWindowPoster(&Win32RuntimeWindowPoster());
        RuntimeSetMainWindow(reinterpret_cast<RuntimeWindow>(m_window));
    }
    void TearDown() override {
        RuntimeSetMainWindow(0);
        if (m_window != nullptr)
            DestroyWindow(m_window);
        RuntimeStateReset();
    }

    bool Take(UINT message, WPARAM* wParam = nullptr) {
        MSG msg{};
        if (!PeekMessageW(&msg, m_window, message, message, PM_REMOVE))
            return false;
        if (wParam != nullptr)
            *wParam = msg.wParam;
        return true;
    }

    HWND m_window = nullptr;
};

TEST_F(RuntimeNotifierTest, ChangeNoticeArrivesOnceUntilCleared) {
    RuntimeSetStatusMessage("first");
    RuntimeSetStatusMessage("second");
    EXPECT_TRUE(Take(kRuntimeStateMessage));
    EXPECT_FALSE(Take(kRuntimeStateMessage)) << "coalesced";
    EXPECT_TRUE(RuntimeClearNotifyPending());
    RuntimeSetStatusMessage("third");
    EXPECT_TRUE(Take(kRuntimeStateMessage));
    RuntimeClearNotifyPending();
}

TEST_F(RuntimeNotifierTest, APostToADestroyedWindowClearsThePendingFlag) {
    DestroyWindow(m_window);
    m_window = nullptr;
    RuntimeSetStatusMessage("after destroy");
    EXPECT_FALSE(RuntimeIsNotifyPending());
}

TEST_F(RuntimeNotifierTest, VideoConnectedPostsTheDragMessage) {
    StateManager::Instance().SetChannelState(0, ChannelState::Connected, "wine test");
    WPARAM wParam = 0;
    EXPECT_TRUE(Take(kDragServiceMessage, &wParam));
    EXPECT_EQ(wParam, 1u);
    StateManager::Instance().SetChannelState(0, ChannelState::Disconnected, "wine test");
    EXPECT_TRUE(Take(kDragServiceMessage, &wParam));
    EXPECT_EQ(wParam, 0u);
    RuntimeClearNotifyPending();
}

} // namespace
