// Under Wine: received input packets injected into the desktop of the test process. A focused test window
// records the key, character and mouse messages it gets; the cable and the other areas' services are fakes.
#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "core/Log.h"
#include "input/InjectionHid.h"
#include "input/InputPeers.h"
#include "input/win/InputInjector.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TslyInjectTestWindow";
constexpr int kWindowX = 200;
constexpr int kWindowY = 150;
constexpr int kWindowW = 320;
constexpr int kWindowH = 240;

struct SeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::mutex g_seenMutex;
std::vector<SeenMessage> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_MOUSEWHEEL: {
        std::lock_guard<std::mutex> lock(g_seenMutex);
        g_seen.push_back({message, wParam, lParam});
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class RecordingPeers final : public IInputPeers {
public:
    void RequestHostVideoRestart() override { calls.push_back("video-restart"); }
    bool SetDragVisualActive(bool active) override {
        calls.push_back(active ? "drag-visual 1" : "drag-visual 0");
        return true;
    }
    std::vector<std::string> calls;
};

class RecordingHid final : public IInjectionHid {
public:
    int ProbePresent() override { return present; }
    int SetSystemKey() override {
        calls.push_back("system-key");
        return 1;
    }
    int SendWheel(int32_t x, int32_t y, int32_t delta) override {
        calls.push_back("wheel " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(delta));
        return 1;
    }
    int present = -1;
    std::vector<std::string> calls;
};

class InputInjectorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
    }

    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        m_window =
            CreateWindowExW(WS_EX_TOPMOST, kWindowClass, L"inject", WS_POPUP | WS_VISIBLE, kWindowX, kWindowY,
                            kWindowW, kWindowH, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_window, nullptr);
        SetForegroundWindow(m_window);
        SetFocus(m_window);
        Pump(200);
        Clear();
        SetInputPeers(&m_peers);
        SetInjectionHid(&m_hid);
    }
    void TearDown() override {
        SetInputPeers(nullptr);
        SetInjectionHid(nullptr);
        if (m_window != nullptr)
            DestroyWindow(m_window);
        Pump(50);
        Log::Close();
    }

    // Delivers this thread's messages for ms milliseconds.
    static void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(5);
        } while (GetTickCount() - start < ms);
    }
    // Pumps until `count` messages of this kind arrived, at most 2 s; the messages of that kind.
    static std::vector<SeenMessage> WaitFor(UINT message, size_t count) {
        const DWORD start = GetTickCount();
        for (;;) {
            std::vector<SeenMessage> found = Seen(message);
            if (found.size() >= count || GetTickCount() - start >= 2000)
                return found;
            Pump(10);
        }
    }
    static std::vector<SeenMessage> Seen(UINT message) {
        std::lock_guard<std::mutex> lock(g_seenMutex);
        std::vector<SeenMessage> found;
        for (const SeenMessage& m : g_seen)
            if (m.message == message)
                found.push_back(m);
        return found;
    }
    static void Clear() {
        std::lock_guard<std::mutex> lock(g_seenMutex);
        g_seen.clear();
    }
    static void Key(int32_t vk, int32_t scan, bool down, int32_t extraFlags = 0) {
        InjectInputPacket(MakeInputPacket(InputPacketType::Key, scan, 0, vk, (down ? 1 : 0) | extraFlags));
    }
    // Moves the cursor and waits, bounded, until it is there.
    static POINT MoveTo(int32_t x, int32_t y) {
        InjectInputPacket(MakeInputPacket(InputPacketType::MouseMove, x, y, 0, 0));
        POINT at{};
        const DWORD start = GetTickCount();
        do {
            Pump(10);
            GetCursorPos(&at);
        } while ((at.x != x || at.y != y) && GetTickCount() - start < 1000);
        return at;
    }

    HWND m_window = nullptr;
    RecordingPeers m_peers;
    RecordingHid m_hid;
};

TEST_F(InputInjectorTest, MovesPutTheCursorOnTheExactPixel) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1;
    const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
    const POINT targets[] = {{left, top}, {right, bottom}, {left + 333, top + 222}, {right - 1, top + 1}};
    for (POINT target : targets) {
        POINT at = MoveTo(target.x, target.y);
        EXPECT_EQ(at.x, target.x) << "target " << target.x << "," << target.y;
        EXPECT_EQ(at.y, target.y) << "target " << target.x << "," << target.y;
    }
    POINT at = MoveTo(right + 5000, bottom + 5000);
    EXPECT_EQ(at.x, right) << "a point past the desktop lands on its edge";
    EXPECT_EQ(at.y, bottom);
}

TEST_F(InputInjectorTest, ClickLandsOnTheWindowWhereTheMoveWent) {
    MoveTo(kWindowX + 40, kWindowY + 30);
    InjectInputPacket(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 0, 1));
    InjectInputPacket(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 0, 0));
    std::vector<SeenMessage> downs = WaitFor(WM_LBUTTONDOWN, 1);
    std::vector<SeenMessage> ups = WaitFor(WM_LBUTTONUP, 1);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(static_cast<short>(LOWORD(downs[0].lParam)), 40);
    EXPECT_EQ(static_cast<short>(HIWORD(downs[0].lParam)), 30);

    InjectInputPacket(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 3, 1));
    Pump(100);
    EXPECT_TRUE(Seen(WM_RBUTTONDOWN).empty()) << "button 3 injects nothing";
}

TEST_F(InputInjectorTest, KeyByVirtualKeyTypesItsCharacter) {
    Key('A', 0, true);
    Key('A', 0, false);
    std::vector<SeenMessage> chars = WaitFor(WM_CHAR, 1);
    std::vector<SeenMessage> downs = Seen(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('A'));
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(WaitFor(WM_KEYUP, 1).size(), 1u);
}

TEST_F(InputInjectorTest, KeyByScanCodeCarriesTheScanCode) {
    // Scan code 0x1E is the A key; the virtual key in data1 is ignored when a scan code is given.
    Key('Z', 0x1E, true);
    Key('Z', 0x1E, false);
    std::vector<SeenMessage> downs = WaitFor(WM_KEYDOWN, 1);
    std::vector<SeenMessage> ups = WaitFor(WM_KEYUP, 1);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ((downs[0].lParam >> 16) & 0xFF, 0x1E);
    EXPECT_EQ((ups[0].lParam >> 16) & 0xFF, 0x1E);
    EXPECT_NE(downs[0].wParam, static_cast<WPARAM>('Z'));
    EXPECT_EQ(ups[0].lParam & (1 << 31), static_cast<LPARAM>(1) << 31) << "the up is a key-up";

    // An extended scan code (Delete) arrives with the extended bit.
    Clear();
    Key(46, 0x53, true, 0x02);
    Key(46, 0x53, false, 0x02);
    downs = WaitFor(WM_KEYDOWN, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ((downs[0].lParam >> 16) & 0xFF, 0x53);
    EXPECT_NE(downs[0].lParam & (1 << 24), 0) << "extended";
}

TEST_F(InputInjectorTest, SystemKeysReachTheirServicesAndTheCable) {
    InjectInputPacket(MakeInputPacket(InputPacketType::SystemKey, 0, 0, 2, 0));
    InjectInputPacket(MakeInputPacket(InputPacketType::SystemKey, 0, 0, 4, 1));
    InjectInputPacket(MakeInputPacket(InputPacketType::SystemKey, 0, 0, 4, 0));
    InjectInputPacket(MakeInputPacket(InputPacketType::SystemKey, 0, 0, 1, 0));
    EXPECT_EQ(m_peers.calls, (std::vector<std::string>{"video-restart", "drag-visual 1", "drag-visual 0"}));
    EXPECT_EQ(m_hid.calls, std::vector<std::string>{"system-key"});
}

TEST_F(InputInjectorTest, WheelGoesThroughThePresentCableInsteadOfSendInput) {
    MoveTo(kWindowX + 10, kWindowY + 10);
    m_hid.present = 1;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    InjectInputPacket(MakeInputPacket(InputPacketType::MouseWheel, left, top, -120, 0));
    Pump(200);
    EXPECT_EQ(m_hid.calls, std::vector<std::string>{"wheel 0,0 -120"});
    EXPECT_TRUE(Seen(WM_MOUSEWHEEL).empty());

    m_hid.present = -1;
    InjectInputPacket(MakeInputPacket(InputPacketType::MouseWheel, left, top, 240, 0));
    std::vector<SeenMessage> wheels = WaitFor(WM_MOUSEWHEEL, 1);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), 240);
    EXPECT_EQ(m_hid.calls.size(), 1u);
}

// The packets run on one windowless thread, as on the input channel's host thread; the lock and modifier
// states are read there too, with the calls the injector itself reads them with.
TEST_F(InputInjectorTest, KeyboardSyncOnTheHostThreadReachesTheWantedState) {
    const size_t logStart = OwnLog().size();
    auto packet = [](InputPacketType type, int32_t x, int32_t data1, int32_t data2) {
        InjectInputPacket(MakeInputPacket(type, x, 0, data1, data2));
    };
    auto down = [](int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; };
    auto on = [](int vk) { return (GetKeyState(vk) & 1) != 0; };
    bool shiftHeld = false, shiftAfter = true, ctrlAfter = false, capsAfter = false;
    bool ctrlCleared = true, capsCleared = true, numCleared = true, numOn = false, numStillOn = false,
         numOff = true;
    std::thread host([&] {
        packet(InputPacketType::Key, 0, VK_LSHIFT, 0x01);
        shiftHeld = down(VK_SHIFT);
        packet(InputPacketType::SystemKey, 0, 3, 0x10 | 0x01); // CapsLock on, Ctrl
        shiftAfter = down(VK_SHIFT);
        ctrlAfter = down(VK_CONTROL);
        capsAfter = on(VK_CAPITAL);
        packet(InputPacketType::SystemKey, 0, 3, 0x00);
        ctrlCleared = down(VK_CONTROL);
        capsCleared = on(VK_CAPITAL);
        numCleared = on(VK_NUMLOCK);
        // NumLock on by request, then the same request again: the key itself is never typed.
        packet(InputPacketType::Key, 0x45, VK_NUMLOCK, 0x01 | 0x04 | 0x08);
        packet(InputPacketType::Key, 0x45, VK_NUMLOCK, 0x04 | 0x08);
        numOn = on(VK_NUMLOCK);
        packet(InputPacketType::Key, 0x45, VK_NUMLOCK, 0x01 | 0x04 | 0x08);
        numStillOn = on(VK_NUMLOCK);
        packet(InputPacketType::Key, 0x45, VK_NUMLOCK, 0x01 | 0x04);
        numOff = on(VK_NUMLOCK);
    });
    host.join();

    EXPECT_TRUE(shiftHeld);
    EXPECT_FALSE(shiftAfter) << "the unwanted Shift is released";
    EXPECT_TRUE(ctrlAfter) << "the wanted Ctrl is pressed";
    EXPECT_TRUE(capsAfter);
    EXPECT_FALSE(ctrlCleared);
    EXPECT_FALSE(capsCleared);
    EXPECT_FALSE(numCleared);
    EXPECT_TRUE(numOn);
    EXPECT_TRUE(numStillOn);
    EXPECT_FALSE(numOff);

    Log::Flush();
    const std::string log = OwnLogSince(logStart);
    EXPECT_TRUE(
        InOrder(log, {"[KEY][NUMLOCK][RX_APPLY] mode=sync method=SendInput before=0 want=1 after=1",
                      "[KEY][NUMLOCK][RX] consume-up valid=1 tap=0",
                      "[KEY][NUMLOCK][RX_APPLY] mode=sync already-matched state=1",
                      "[KEY][NUMLOCK][RX_APPLY] mode=sync method=SendInput before=1 want=0 after=0"}));
}

} // namespace
