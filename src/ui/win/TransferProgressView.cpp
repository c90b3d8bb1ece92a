#include "ui/win/TransferProgressView.h"

#include <commctrl.h>

#include <atomic>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "transfer/FileTransferUi.h"
#include "ui/SessionRoles.h"
#include "ui/TransferProgressLines.h"
#include "ui/win/MainWindow.h"

namespace {

// The one progress window's controls and what was last sent to them, so each is touched only on a change.
struct ViewState {
    HWND bar = nullptr;
    HWND button = nullptr;
    int barPosition = -1;
    std::wstring buttonText;
    bool buttonEnabled = false;
};

ViewState g_view; // UI thread only
std::atomic<bool> g_refreshPending{false};

constexpr COLORREF kBackground = RGB(28, 32, 38);
constexpr COLORREF kTitleColour = RGB(235, 240, 245);
constexpr COLORREF kAlertColour = RGB(255, 210, 120);
constexpr COLORREF kTextColour = RGB(215, 225, 235);
constexpr int kTextX = 18;

bool IsController() {
    return IsThisPcController(RuntimeGetRole(), RuntimeIsClientRunning(), RuntimeIsHostRunning());
}

void ResetCachedControls() {
    g_view.barPosition = -1;
    g_view.buttonText.clear();
    g_view.buttonEnabled = false;
}

// The window's own visible style: IsWindowVisible also answers false while the main window sits in the tray,
// which would leave the view shown underneath.
bool HasVisibleStyle(HWND window) {
    return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void HideAndReset(HWND progress) {
    if (HasVisibleStyle(progress))
        ::ShowWindow(progress, SW_HIDE);
    ResetCachedControls();
}

void OnCreate(HWND window) {
    ResetCachedControls();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    g_view.bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 18, 104, 354, 12, window,
                                   nullptr, instance, nullptr);
    if (g_view.bar != nullptr)
        ::SendMessageW(g_view.bar, PBM_SETRANGE32, 0, 100);
    else
        Log::Write("TransferProgressView progress bar create failed gle=%lu", ::GetLastError());
    g_view.button = ::CreateWindowExW(
        0, L"BUTTON", L"取消", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 318, 126, 54, 24, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTransferViewButtonId)), instance, nullptr);
    if (g_view.button == nullptr)
        Log::Write("TransferProgressView button create failed gle=%lu", ::GetLastError());
}

UniqueGdiObject MakeFont(int height, int weight) {
    return UniqueGdiObject(::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
}

void DrawLine(HDC dc, int y, const std::u16string& text, COLORREF colour) {
    ::SetTextColor(dc, colour);
    std::wstring wide = AsWide(text);
    ::TextOutW(dc, kTextX, y, wide.c_str(), static_cast<int>(wide.size()));
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(window, &ps);
    if (target == nullptr)
        return;
    RECT client;
    ::GetClientRect(window, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    {
        UniqueMemoryDC memory(::CreateCompatibleDC(target));
        UniqueGdiObject bitmap(::CreateCompatibleBitmap(target, width, height));
        if (memory.Get() != nullptr && bitmap.Get() != nullptr) {
            HDC dc = memory.Get();
            ScopedDCSelection bitmapSelection(dc, ::SelectObject(dc, bitmap.Get()));
            UniqueGdiObject background(::CreateSolidBrush(kBackground));
            ::FillRect(dc, &client, static_cast<HBRUSH>(background.Get()));
            ::SetBkMode(dc, TRANSPARENT);

            FileTransferSnapshot snapshot;
            FileTransferUi::Instance().Snapshot(snapshot);
            TransferProgressLines lines =
                FormatTransferProgressLines(snapshot, ConfigService::Instance().IsUiLanguageEnglish());
            const COLORREF titleColour = lines.alert ? kAlertColour : kTitleColour;
            UniqueGdiObject titleFont = MakeFont(13, FW_SEMIBOLD);
            UniqueGdiObject textFont = MakeFont(12, FW_NORMAL);
            {
                ScopedDCSelection fontSelection(dc, ::SelectObject(dc, titleFont.Get()));
                DrawLine(dc, 12, lines.title, titleColour);
            }
            ScopedDCSelection fontSelection(dc, ::SelectObject(dc, textFont.Get()));
            DrawLine(dc, 38, lines.total, kTextColour);
            DrawLine(dc, 60, lines.size, kTextColour);
            DrawLine(dc, 84, lines.current, kTextColour);
            DrawLine(dc, 122, lines.currentFile, kTextColour);
            if (!lines.message.empty())
                DrawLine(dc, 136, lines.message, titleColour);
            ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        }
    }
    ::EndPaint(window, &ps);
}

void UpdateControls(HWND progress, const FileTransferSnapshot& snapshot) {
    int position = TransferBarPosition(snapshot);
    if (g_view.bar != nullptr && position != g_view.barPosition) {
        ::SendMessageW(g_view.bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        g_view.barPosition = position;
    }
    std::wstring text =
        AsWide(TransferButtonText(snapshot.phase, ConfigService::Instance().IsUiLanguageEnglish()));
    if (g_view.button != nullptr && text != g_view.buttonText) {
        ::SetWindowTextW(g_view.button, text.c_str());
        g_view.buttonText = text;
    }
    if (g_view.button != nullptr && !g_view.buttonEnabled) {
        ::EnableWindow(g_view.button, TRUE);
        g_view.buttonEnabled = true;
    }
    // Only the text areas change; the bar and the button paint themselves.
    RECT client;
    ::GetClientRect(progress, &client);
    RECT top = {0, 0, client.right, 102};
    RECT currentFile = {18, 118, 312, 154};
    ::InvalidateRect(progress, &top, FALSE);
    ::InvalidateRect(progress, &currentFile, FALSE);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_APP_PROGRESS_RELAYOUT:
        RefreshTransferProgressWindow(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kTransferViewButtonId && HIWORD(wParam) == BN_CLICKED) {
            // While it moves the transfer code sees the request and cancels; afterwards this is Close.
            FileTransferUi::Instance().PressCancelButton();
            RefreshTransferProgressWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        g_view.bar = nullptr;
        g_view.button = nullptr;
        ResetCachedControls();
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

WNDPROC TransferProgressWindowProc() {
    return &WindowProc;
}

void PositionTransferProgressWindow(HWND main, HWND progress) {
    if (main == nullptr || progress == nullptr)
        return;
    RECT client;
    if (!::GetClientRect(main, &client))
        return;
    auto place = [](int extent, int size) {
        int at = (extent - size) / 2;
        return at < 13 ? 12 : at;
    };
    ::SetWindowPos(progress, HWND_TOPMOST, place(client.right - client.left, kTransferViewWidth),
                   place(client.bottom - client.top, kTransferViewHeight), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool MarkTransferRefreshPending() {
    return !g_refreshPending.exchange(true);
}

void RefreshTransferProgressWindow(HWND progress) {
    g_refreshPending.store(false);
    if (progress == nullptr)
        return;
    if (!IsController()) {
        HideAndReset(progress);
        return;
    }
    FileTransferUi& model = FileTransferUi::Instance();
    FileTransferSnapshot snapshot;
    if (!model.Snapshot(snapshot)) {
        HideAndReset(progress);
        return;
    }
    if (snapshot.phase == FileTransferPhase::Complete) {
        HideAndReset(progress);
        model.Clear();
        return;
    }
    if (!HasVisibleStyle(progress))
        ::ShowWindow(progress, SW_SHOWNA);
    UpdateControls(progress, snapshot);
}

void HideTransferProgressWithMainWindow(HWND progress) {
    if (progress != nullptr)
        ::ShowWindow(progress, SW_HIDE);
    g_refreshPending.store(false);
    ResetCachedControls();
    Log::Write("[TRANSFER][VIEW] hide window-only reason=main-window-hidden");
}

TransferUiSnapshot TransferUiSnapshotForMainWindow() {
    FileTransferSnapshot s;
    FileTransferUi::Instance().Snapshot(s);
    return {static_cast<int32_t>(s.phase), s.transferId, s.totalBytes};
}

std::string TransferWindowTick() {
    return FileTransferUi::Instance().Tick();
}
