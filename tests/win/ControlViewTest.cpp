// Under Wine: ControlView inside the main window. Screenshots of the button in each state against kept
// references, and the mouse rules: a drag is no click, a release outside the button is no click, and the
// dragged place survives a resize of the main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ViewsTestWindow.h"
#include "core/RuntimeState.h"
#include "ui/ControlViewGeometry.h"

namespace {

ControlViewFacts g_facts;

ControlViewFacts TestFacts() {
    return g_facts;
}

LPARAM At(POINT p) {
    return MAKELPARAM(p.x, p.y);
}

class ControlViewTest : public ViewsWindowTest {
protected:
    void SetUp() override {
        g_facts = {};
        SetControlViewFactsSource(&TestFacts);
        ViewsWindowTest::SetUp();
    }
    void TearDown() override {
        ViewsWindowTest::TearDown();
        SetControlViewFactsSource(nullptr);
    }

    // The button's centre in ControlView's client coordinates.
    POINT Centre() const {
        RECT client{};
        GetClientRect(m_control, &client);
        return {client.right / 2, client.bottom / 2};
    }

    void SetState(ProgramState state) {
        RuntimeSetProgramState(state);
        PumpUntil([&] { return !RuntimeIsNotifyPending(); }, 2000);
    }

    void Hover() {
        POINT p = Centre();
        ClientToScreen(m_control, &p);
        SetCursorPos(p.x, p.y);
        POINT inside = Centre();
        SendMessageW(m_control, WM_MOUSEMOVE, 0, At(inside));
    }

    std::string Status() const { return RuntimeMakeSnapshot().statusMessage; }
};

TEST_F(ControlViewTest, EachStateLooksAsItsReference) {
    struct Case {
        const char* name;
        ProgramState state;
        bool cable;
        size_t peers;
        bool hover;
    };
    const Case cases[] = {
        {"controlview-insert-device", ProgramState::Idle, false, 0, false},
        {"controlview-waiting-remote", ProgramState::Idle, true, 0, false},
        {"controlview-connect", ProgramState::Idle, true, 1, false},
        {"controlview-connect-hover", ProgramState::Idle, true, 1, true},
        {"controlview-connecting", ProgramState::Connecting, true, 1, false},
        {"controlview-controlled", ProgramState::Controlled, true, 1, false},
        {"controlview-controlled-hover", ProgramState::Controlled, true, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_facts = {c.cable, c.peers};
        SetState(c.state);
        SetCursorPos(1270, 790);
        SendMessageW(m_control, WM_MOUSELEAVE, 0, 0);
        if (c.hover)
            Hover();
        ASSERT_TRUE(IsWindowVisible(m_control));
        EXPECT_TRUE(MatchesReference(CaptureSettled(m_control), c.name));
    }
}

TEST_F(ControlViewTest, HiddenWhileControllingAndShownAgainAfter) {
    SetState(ProgramState::Controlling);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_control); }, 2000));
    SetState(ProgramState::Idle);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(m_control) != FALSE; }, 2000));
}

TEST_F(ControlViewTest, AClickWithoutTheCableOnlySetsTheStatus) {
    RuntimeSetStatusMessage("before");
    const POINT c = Centre();
    SendMessageW(m_control, WM_LBUTTONDOWN, MK_LBUTTON, At(c));
    SendMessageW(m_control, WM_LBUTTONUP, 0, At(c));
    EXPECT_EQ(Status(), "设备未插入");
    EXPECT_EQ(RuntimeGetProgramState(), 0);

    g_facts = {true, 0};
    SendMessageW(m_control, WM_LBUTTONDOWN, MK_LBUTTON, At(c));
    SendMessageW(m_control, WM_LBUTTONUP, 0, At(c));
    EXPECT_EQ(Status(), "No discovered device");
}

TEST_F(ControlViewTest, AReleaseOutsideTheButtonIsNoClick) {
    RuntimeSetStatusMessage("before");
    SendMessageW(m_control, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre()));
    // Inside the window but on its frame, outside the button's face.
    SendMessageW(m_control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(Status(), "before");
    // And a press on the frame is ignored altogether.
    SendMessageW(m_control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(m_control, WM_LBUTTONUP, 0, At(Centre()));
    EXPECT_EQ(Status(), "before");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlViewTest, ADragMovesTheButtonWithoutAClickAndItsPlaceSurvivesAResize) {
    RuntimeSetStatusMessage("before");
    const RECT before = RectInParent(m_control);
    const POINT c = Centre();
    const int step = GetSystemMetrics(SM_CXDRAG) + 60;
    SendMessageW(m_control, WM_LBUTTONDOWN, MK_LBUTTON, At(c));
    // Once moved the window is elsewhere: each point is where the cursor is, in the window's coordinates now.
    POINT cursor{before.left + c.x - step, before.top + c.y - 40};
    POINT local = cursor;
    MapWindowPoints(m_main, m_control, &local, 1);
    SendMessageW(m_control, WM_MOUSEMOVE, MK_LBUTTON, At(local));
    local = cursor;
    MapWindowPoints(m_main, m_control, &local, 1);
    SendMessageW(m_control, WM_LBUTTONUP, 0, At(local));

    const RECT moved = RectInParent(m_control);
    EXPECT_EQ(moved.left, before.left - step);
    EXPECT_EQ(moved.top, before.top - 40);
    EXPECT_EQ(Status(), "before") << "a drag must not click";

    const double rx = ControlViewRelativeCentre(moved.left, moved.right - moved.left, kClientWidth);
    const double ry = ControlViewRelativeCentre(moved.top, moved.bottom - moved.top, kClientHeight);
    ResizeClient(1200, 700);
    ASSERT_TRUE(PumpUntil(
        [&] {
            const RECT r = RectInParent(m_control);
            return r.left != moved.left || r.top != moved.top;
        },
        3000));
    const RECT after = RectInParent(m_control);
    EXPECT_NEAR((after.left + after.right) / 2.0, rx * 1200, 1.0);
    EXPECT_NEAR((after.top + after.bottom) / 2.0, ry * 700, 1.0);
    ResizeClient(kClientWidth, kClientHeight);
}

TEST_F(ControlViewTest, APressThatMovesLessThanTheDragDistanceStillClicks) {
    RuntimeSetStatusMessage("before");
    const RECT before = RectInParent(m_control);
    POINT c = Centre();
    SendMessageW(m_control, WM_LBUTTONDOWN, MK_LBUTTON, At(c));
    c.x += GetSystemMetrics(SM_CXDRAG) - 1;
    SendMessageW(m_control, WM_MOUSEMOVE, MK_LBUTTON, At(c));
    SendMessageW(m_control, WM_LBUTTONUP, 0, At(c));
    const RECT after = RectInParent(m_control);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(Status(), "设备未插入");
}

} // namespace
