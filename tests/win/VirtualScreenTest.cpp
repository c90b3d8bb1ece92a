// Under Wine: the virtual screen in-process with a recording link in place of the input channel. Raw input
// comes from real SendInput moves (Wine reports them as raw input); the hook's own crossing only takes
// physical moves, which SendInput cannot make, so its procedure is called directly. The cursor is real.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "HdropBuilder.h"
#include "LogAssertions.h"
#include "RecordingVirtualScreenLink.h"
#include "TestWait.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/VirtualScreenEdge.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/VirtualScreen.h"

namespace {

// A shell data object that carries CF_HDROP only.
class HdropDataObject final : public IDataObject {
public:
    explicit HdropDataObject(std::vector<std::wstring> names) : m_names(std::move(names)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; } // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format->cfFormat != CF_HDROP || (format->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = MakeHdrop(m_names, POINT{0, 0}, false);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    ULONG m_refs = 1;
    std::vector<std::wstring> m_names;
};

MSLLHOOKSTRUCT HookData(POINT pt, DWORD mouseData = 0, DWORD flags = 0) {
    MSLLHOOKSTRUCT data{};
    data.pt = pt;
    data.mouseData = mouseData;
    data.flags = flags;
    return data;
}

LRESULT Hook(UINT message, POINT pt, DWORD mouseData = 0, DWORD flags = 0) {
    MSLLHOOKSTRUCT data = HookData(pt, mouseData, flags);
    return VirtualScreen::MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&data));
}

POINT Cursor() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

// A relative move by SendInput from another thread while this one pumps (it owns the hook and the raw
// input window): Wine reports it as raw input, as a physical mouse would be.
void MoveBy(int dx, int dy) {
    std::atomic<bool> done{false};
    std::thread mover([&] {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = dx;
        in.mi.dy = dy;
        in.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &in, sizeof in);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 3000);
    mover.join();
}

class VirtualScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        RuntimeSetDesktopSize(2000, 1000);
        RuntimeSetStreamSize(1000, 500); // scaled down: the cursor still maps to the desktop
        SetVirtualScreenLink(&m_link);
        SetRemoteDragOffer(&m_offer);
        ASSERT_TRUE(VirtualScreen::Start(GetModuleHandleW(nullptr), nullptr));
        m_width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        m_height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        m_logStart = OwnLog().size();
    }
    void TearDown() override {
        VirtualScreen::Stop();
        SetVirtualScreenLink(nullptr);
        SetRemoteDragOffer(nullptr);
        RemoteDragSlot::Instance().Clear();
        DragVisualOverlay::Stop();
        RuntimeStateReset();
        Log::Close();
    }
    std::string FlushedLog() const {
        Log::Flush();
        return OwnLogSince(m_logStart);
    }
    // Mode 2 (the peer to the right): a physical move outward onto the right edge crosses.
    void EnterAtRightEdge(int32_t y) {
        VirtualScreen::SetMode(2);
        ASSERT_TRUE(SetCursorPos(m_width - 10, y));
        EXPECT_EQ(Hook(WM_MOUSEMOVE, {m_width - 10, y}), 0) << "far from the edge: passed on";
        EXPECT_EQ(Hook(WM_MOUSEMOVE, {m_width - 2, y}), 1) << "outward at the edge: swallowed";
        ASSERT_TRUE(VirtualScreen::IsActive());
    }

    RecordingVirtualScreenLink m_link;
    RecordingRemoteDragOffer m_offer;
    int m_width = 0, m_height = 0;
    size_t m_logStart = 0;
};

TEST_F(VirtualScreenTest, CrossingAtTheEdgePinsTheCursorAndSendsThePeersPosition) {
    ASSERT_NO_FATAL_FAILURE(EnterAtRightEdge(500));
    EXPECT_EQ(Cursor().x, m_width - 1) << "pinned on the edge";
    EXPECT_TRUE(m_link.scope);
    const auto sent = m_link.SentPackets();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].packet, CursorPacket(0, 500 * 1000 / m_height)) << "the peer's desktop, not the stream";
    EXPECT_TRUE(sent[0].priority);
    EXPECT_EQ(m_link.Notes(), (std::vector<std::string>{"sync"}));

    // A local move while on the peer is swallowed and the cursor stays pinned.
    EXPECT_EQ(Hook(WM_MOUSEMOVE, {m_width - 50, 500}), 1);
    EXPECT_EQ(Cursor().x, m_width - 1);

    // Raw motion moves the virtual cursor; what the 16 ms rule holds back the 25 ms timer sends.
    m_link.Clear();
    VirtualScreen::OnRawMouse(120, 0, 0);
    ASSERT_TRUE(PumpUntil(
        [&] {
            const auto now = m_link.SentPackets();
            return !now.empty() && now.back().packet == CursorPacket(120, 500 * 1000 / m_height);
        },
        2000));
    EXPECT_FALSE(m_link.SentPackets().back().priority);

    // Back across the near side by more than 10 pixels: the cursor returns 36 pixels inside the edge.
    VirtualScreen::OnRawMouse(-131, 0, 0);
    EXPECT_FALSE(VirtualScreen::IsActive());
    EXPECT_FALSE(m_link.scope);
    EXPECT_EQ(Cursor().x, m_width - 37);
    EXPECT_TRUE(InOrder(FlushedLog(), {"[VSCREEN][ENTER] reason=mouse-hook-edge mode=2",
                                       "[VSCREEN][LEAVE] reason=raw-back-to-local"}));
}

TEST_F(VirtualScreenTest, ButtonsAndWheelOnThePeerAreForwardedAndSwallowed) {
    ASSERT_NO_FATAL_FAILURE(EnterAtRightEdge(100));
    m_link.Clear();
    EXPECT_EQ(Hook(WM_RBUTTONDOWN, {m_width - 1, 100}), 1);
    EXPECT_EQ(Hook(WM_MOUSEWHEEL, {m_width - 1, 100}, 0xFF880000u), 1);
    EXPECT_EQ(Hook(WM_LBUTTONUP, {m_width - 1, 100}, 0, LLMHF_INJECTED), 0) << "injected: passed on";
    const auto sent = m_link.SentPackets();
    ASSERT_GE(sent.size(), 3u);
    bool button = false, wheel = false;
    for (const auto& s : sent) {
        button = button || (s.packet == ButtonPacket(1, true) && !s.priority);
        wheel = wheel || (s.packet.type == VirtualScreenPacketType::kMouseWheel && s.packet.data1 == -120);
    }
    EXPECT_TRUE(button);
    EXPECT_TRUE(wheel);
    EXPECT_EQ(m_link.Notes(), (std::vector<std::string>{"button 1 down"}));
}

TEST_F(VirtualScreenTest, ModeOffLeavesAndRemovesTheHookAndRawInputAndStopRevokesTheDropTarget) {
    ASSERT_NO_FATAL_FAILURE(EnterAtRightEdge(300));
    EXPECT_TRUE(VirtualScreen::IsHookInstalled());
    EXPECT_TRUE(VirtualScreen::IsRawInputRegistered());
    VirtualScreen::SetMode(7); // taken as off
    EXPECT_EQ(VirtualScreen::Mode(), 0);
    EXPECT_FALSE(VirtualScreen::IsActive());
    EXPECT_FALSE(VirtualScreen::IsHookInstalled());
    EXPECT_FALSE(VirtualScreen::IsRawInputRegistered());
    EXPECT_EQ(Cursor().x, m_width - 37);

    VirtualScreen::SetMode(1);
    EXPECT_EQ(VirtualScreenEdge().Mode(), 1) << "installed while started";
    IDropTarget* target = VirtualScreen::DropTarget();
    ASSERT_NE(target, nullptr);
    target->AddRef();
    VirtualScreen::Stop();
    EXPECT_FALSE(VirtualScreen::IsHookInstalled());
    EXPECT_FALSE(VirtualScreen::IsRawInputRegistered());
    EXPECT_EQ(VirtualScreenEdge().Mode(), 0) << "the edge is uninstalled";
    EXPECT_EQ(target->Release(), 0u) << "OLE no longer holds the target: it was revoked";
    EXPECT_TRUE(InOrder(FlushedLog(), {"[VSCREEN][STOP] RevokeDragDrop hr=0x00000000"}));
}

TEST_F(VirtualScreenTest, DropTargetTakesFilesOnlyWithinTheEdgeBand) {
    VirtualScreen::SetMode(2);
    IDropTarget* target = VirtualScreen::DropTarget();
    ASSERT_NE(target, nullptr);
    HdropDataObject data({L"C:\\one.txt", L"C:\\two"});
    DWORD effect = DROPEFFECT_COPY;

    const POINTL middle{m_width / 2, m_height / 2};
    EXPECT_EQ(target->DragEnter(&data, 0, middle, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "the data carries files";
    EXPECT_EQ(target->DragOver(0, middle, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "not at the edge";
    EXPECT_EQ(target->Drop(&data, 0, middle, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(m_link.Offered().empty());

    const POINTL edge{m_width - 32, 200};
    EXPECT_EQ(target->DragEnter(&data, 0, edge, &effect), S_OK);
    EXPECT_EQ(target->DragOver(0, edge, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target->Drop(&data, 0, edge, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(VirtualScreen::IsActive()) << "the cursor went to the peer for the drop";
    ASSERT_TRUE(PumpUntil([&] { return !m_link.Offered().empty(); }, 3000));
    EXPECT_EQ(m_link.Offered()[0], (std::vector<std::u16string>{u"C:\\one.txt", u"C:\\two"}));
    // The drop ends on this thread: the transient crossing is undone.
    ASSERT_TRUE(PumpUntil([] { return !VirtualScreen::IsActive(); }, 3000));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[VSCREEN][DROP] DragEnter ok=1 count=2",
                                       "[VSCREEN][LEAVE] reason=virtual-drop-transient-complete",
                                       "[VSCREEN][DROP] reason=edge-drop count=2 ok=1 first=C:\\one.txt"}));
}

TEST_F(VirtualScreenTest, DropWithInputNotReadyIsRefused) {
    VirtualScreen::SetMode(2);
    m_link.ready = false;
    EXPECT_FALSE(VirtualScreen::DropFilesToRemote({u"C:\\a"}, POINT{m_width - 1, 10}, 2, "edge-drop"));
    EXPECT_TRUE(InOrder(FlushedLog(), {"[VSCREEN][DROP] skipped reason=edge-drop input-not-ready count=1"}));
}

TEST_F(VirtualScreenTest, ARefusedDragOutDownloadIsReportedAsFailedAndTheReleaseRunsAfterTheHook) {
    RuntimeSetRole(RuntimeRole::Controller);
    RemoteDragSlot::Instance().Hold(11, 2, 300);
    ASSERT_NO_FATAL_FAILURE(EnterAtRightEdge(400));
    ASSERT_EQ(Hook(WM_LBUTTONDOWN, {m_width - 1, 400}), 1);
    VirtualScreen::OnRawMouse(-50, 0, 0); // back with the button held: the drag-out is armed
    ASSERT_FALSE(VirtualScreen::IsActive());
    EXPECT_NE(VirtualScreen::DragOutStartTick(), 0u);
    EXPECT_TRUE(DragVisualOverlay::IsActive());

    m_offer.startDownload = false;
    EXPECT_EQ(Hook(WM_LBUTTONUP, Cursor()), 1) << "the release belongs to the drag-out";
    EXPECT_TRUE(m_offer.downloads.empty()) << "nothing downloads inside the hook";
    ASSERT_TRUE(PumpUntil([&] { return !m_offer.downloads.empty(); }, 2000));
    EXPECT_FALSE(DragVisualOverlay::IsActive()) << "the failure branch hides the drag visual";
    EXPECT_EQ(VirtualScreen::DragOutStartTick(), 0u);
    EXPECT_TRUE(InOrder(FlushedLog(),
                        {"[VSCREEN][RDRAG_OUT] armed pending=1 trackedLeftDown=1",
                         "[VSCREEN][RDRAG_OUT][DROP] reason=mouse-hook-local-up target=<default> ok=0"}));
    EXPECT_EQ(m_link.Notes(), (std::vector<std::string>{"sync", "button 0 down", "release", "cancel-drag"}))
        << "the peer's drag ends either way";
}

TEST_F(VirtualScreenTest, ComingBackWithoutTheLeftButtonCancelsTheHeldOffer) {
    RuntimeSetRole(RuntimeRole::Controller);
    RemoteDragSlot::Instance().Hold(12, 1, 10);
    ASSERT_NO_FATAL_FAILURE(EnterAtRightEdge(400));
    VirtualScreen::OnRawMouse(-50, 0, 0);
    EXPECT_EQ(m_offer.cancels, (std::vector<std::string>{"virtual-screen-leave-without-held-left-button"}));
    EXPECT_EQ(VirtualScreen::DragOutStartTick(), 0u);
}

TEST_F(VirtualScreenTest, SendInputMotionAtTheEdgeCrossesByRawInputAndComesBack) {
    VirtualScreen::SetMode(2);
    ASSERT_TRUE(SetCursorPos(m_width - 2, 300));
    MoveBy(5, 0);
    ASSERT_TRUE(PumpUntil([] { return VirtualScreen::IsActive(); }, 3000)) << FlushedLog();
    EXPECT_EQ(Cursor().x, m_width - 1);
    const int32_t remoteY = 300 * 1000 / m_height;

    m_link.Clear();
    MoveBy(40, 0);
    ASSERT_TRUE(PumpUntil(
        [&] {
            const auto sent = m_link.SentPackets();
            return !sent.empty() && sent.back().packet.x > 0;
        },
        3000));
    const VirtualScreenPacket last = m_link.SentPackets().back().packet;
    EXPECT_EQ(last.type, VirtualScreenPacketType::kMouseMove);
    EXPECT_EQ(last.y, remoteY) << "a horizontal move keeps the row";
    ASSERT_TRUE(PumpUntil([] { return Cursor().x == GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1; }, 3000))
        << "the local cursor stays pinned";

    MoveBy(-500, 0);
    ASSERT_TRUE(PumpUntil([] { return !VirtualScreen::IsActive(); }, 3000)) << FlushedLog();
    EXPECT_TRUE(InOrder(FlushedLog(), {"[VSCREEN][ENTER] reason=raw-edge mode=2",
                                       "[VSCREEN][LEAVE] reason=raw-back-to-local"}));
}

} // namespace
