#include "ui/win/StateViewPanel.h"

#include <atomic>
#include <string>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "input/win/HidPresence.h"
#include "link/ControlHandlerState.h"
#include "link/win/RndisAdapterWin.h"
#include "transfer/FileTransferUi.h"
#include "ui/PanelText.h"
#include "ui/StateViewGeometry.h"
#include "ui/StateViewRows.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/StateViewVisibility.h"
#include "ui/win/UiPaint.h"

namespace {

class ProgramStateViewServices final : public IStateViewServices {
public:
    void CheckAdapter() override { CheckRndisAdapter(); }
    RndisAdapterInfo Adapter() override { return FindRndisAdapter(); }
    int32_t HidPresence() override { return HidPresence::Cached(); }
    bool IsHidProbeRunning() override { return ::IsHidProbeRunning(); }
    void StartHidProbe() override { StartHidProbeAsync("StateView"); }
    std::string TransferTick() override { return FileTransferUi::Instance().Tick(); }
    MacHealthEntry MacHealth() override { return ControlHandlerState::Instance().health.Read(); }
    uint32_t NowMs() override { return ::GetTickCount(); }
};

IStateViewServices* g_services = nullptr;
StateViewHidProbeGate g_hidGate; // UI thread
std::string g_transferLine;      // the last tick's line, UI thread
std::atomic<bool> g_adapterCheckRunning{false};

IStateViewServices& Services() {
    static ProgramStateViewServices program;
    return g_services != nullptr ? *g_services : program;
}

// The check may wait up to 5 s on netsh: it runs off the UI thread, which also serves the low-level hooks,
// and a tick that finds one still running skips it.
void StartAdapterCheck() {
    if (g_adapterCheckRunning.exchange(true))
        return;
    IStateViewServices* services = &Services();
    std::string error;
    const bool started = StartDetachedWorker(
        "StateViewAdapterCheck",
        [services] {
            struct Done {
                ~Done() { g_adapterCheckRunning.store(false); }
            } done;
            services->CheckAdapter();
        },
        &error);
    if (!started) {
        g_adapterCheckRunning.store(false);
        Log::Write("StateView adapter check thread create failed: %s", error.c_str());
    }
}

void OnTimer(HWND hwnd) {
    StartAdapterCheck();
    IStateViewServices& services = Services();
    if (g_hidGate.Admit(services.HidPresence(), services.IsHidProbeRunning(), services.NowMs()))
        services.StartHidProbe();
    g_transferLine = SafePanelText(services.TransferTick());
    ::InvalidateRect(hwnd, nullptr, FALSE);
}

StateViewFacts GatherFacts() {
    IStateViewServices& services = Services();
    StateViewFacts f;
    f.runtime = RuntimeMakeSnapshot();
    f.english = ConfigService::Instance().IsUiLanguageEnglish();
    f.adapter = services.Adapter();
    f.hidPresence = services.HidPresence();
    f.transferLine = g_transferLine;
    const MacHealthEntry health = services.MacHealth();
    f.healthLine = health.line;
    f.healthAgeMs = services.NowMs() - health.tick;
    f.configuredFps = ConfigService::Instance().GetSnapshot().fps;
    return f;
}

void Paint(HWND hwnd) {
    BufferedPaint paint(hwnd);
    if (!paint.Ok())
        return;
    HDC dc = paint.Dc();
    const RECT& client = paint.Client();
    const LONG w = client.right;
    DrawViewBackground(dc, client, 14, {66, 80, 100});

    UniqueGdiObject titleFont = CreateUiFont(8, 600);
    UniqueGdiObject labelFont = CreateUiFont(7, 400);
    UniqueGdiObject valueFont = CreateUiFont(7, 600);
    ScopedDCSelection fontSelection(dc, ::SelectObject(dc, titleFont.Get()));
    ScopedDCSelection penSelection(dc, ::SelectObject(dc, ::GetStockObject(DC_PEN)));
    for (const StateViewRow& row : BuildStateViewRows(GatherFacts())) {
        switch (row.kind) {
        case StateViewRow::Kind::Title:
            ::SelectObject(dc, titleFont.Get());
            DrawUiText(dc, row.label, {10, 5, w - 10, 19}, row.colour, DT_LEFT);
            break;
        case StateViewRow::Kind::Section:
            ::SelectObject(dc, titleFont.Get());
            DrawUiText(dc, row.label, {10, row.y, 230, row.y + 20}, row.colour, DT_LEFT);
            break;
        case StateViewRow::Kind::Value:
            ::SelectObject(dc, labelFont.Get());
            DrawUiText(dc, row.label, {10, row.y, 80, row.y + 15}, {135, 149, 170}, DT_LEFT);
            ::SelectObject(dc, valueFont.Get());
            DrawUiText(dc, row.value, {80, row.y, w - 10, row.y + 15}, row.colour, DT_LEFT);
            break;
        case StateViewRow::Kind::Separator:
            ::SetDCPenColor(dc, ToColorRef(row.colour));
            ::MoveToEx(dc, 10, row.y, nullptr);
            ::LineTo(dc, w - 10, row.y);
            break;
        }
    }
}

} // namespace

LRESULT CALLBACK StateViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        // Runs while the window exists, shown or not: the adapter check and the probes must go on.
        ::SetTimer(hwnd, kStateViewTimerId, kStateViewTimerMs, nullptr);
        StartAdapterCheck();
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, kStateViewTimerId);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam == kStateViewTimerId)
            OnTimer(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        if (HWND view = RemoteViewWindow())
            ::SetFocus(view);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void LayoutStateViewWindow(HWND main, HWND stateView) {
    if (main == nullptr || stateView == nullptr)
        return;
    RECT client{};
    ::GetClientRect(main, &client);
    const StateViewRect r = LayoutStateViewRect(client.right, client.bottom);
    const bool visible = IsStateViewVisible();
    PlaceRoundedView(stateView, r.x, r.y, r.width, r.height, 22, visible);
    ::ShowWindow(stateView, visible ? SW_SHOWNA : SW_HIDE);
}

void SetStateViewServices(IStateViewServices* services) {
    g_services = services;
}
