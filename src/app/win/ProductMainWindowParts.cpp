#include "app/win/ProductMainWindowParts.h"

#include <windows.h>

#include "app/win/VirtualScreenLinkWin.h"
#include "dragdrop/win/VirtualScreen.h"
#include "transfer/win/ClipboardChannel.h"
#include "ui/win/ControlViewWindow.h"
#include "ui/win/LongTransferWatcher.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/ResizeMainWindowParts.h"
#include "ui/win/StateViewPanel.h"
#include "ui/win/TransferProgressView.h"
#include "ui/win/TrayIcon.h"
#include "ui/win/TrayMenu.h"
#include "ui/win/TrayNativeMenu.h"
#include "ui/win/TrayStartWithWindows.h"
#include "ui/win/TrayWindowVisibility.h"

namespace {

// Each group overrides only what its piece owns; the rest keeps the harmless defaults.
class ProductMainWindowParts final : public ResizeMainWindowParts<> {
public:
    // --- Tray.
    void AddTrayIcon(HWND main) override { TrayAddIcon(main); }
    void RemoveTrayIcon(HWND main) override { TrayRemoveIcon(main); }
    void ShowTrayBalloon(HWND main, const std::wstring& text, uint32_t infoFlags,
                         uint32_t timeoutMs) override {
        TrayShowBalloon(main, text, infoFlags, timeoutMs);
    }
    void HideTrayBalloon(HWND main) override { TrayHideBalloon(main); }
    void ShowTrayMenu(HWND main, POINT at, const char* source) override {
        TrayShowMenu(main, at, source, *this);
    }
    void RestoreFromTray(HWND main) override { TrayRestoreMainWindow(main, *this); }
    void HideMainWindowToTray(HWND main) override {
        HideTransferProgressWithMainWindow(MainUi().progressWindow);
        TrayHideMainWindow(main, *this);
    }
    void QueryStartWithWindows(bool forceReload) override { GetStartWithWindows(forceReload); }
    bool HandleMenuItemMessage(UINT message, LPARAM lParam) override {
        return HandleNativeTrayMenuItem(message, lParam);
    }

    // --- Custom resize, fullscreen and DPI: from ResizeMainWindowParts.

    // --- ControlView and StateView.
    double ControlViewScale(HWND main) override { return ControlViewScaleOf(main); }
    void LayoutControlView(HWND main, HWND controlView) override {
        LayoutControlViewWindow(main, controlView);
    }
    void SyncControlViewVisibility(HWND controlView) override {
        SyncControlViewWindowVisibility(controlView);
    }
    void LayoutStateView(HWND main, HWND stateView) override { LayoutStateViewWindow(main, stateView); }

    // --- Virtual screen.
    bool IsVirtualScreenStarted() override { return VirtualScreen::IsStarted(); }
    bool StartVirtualScreen(HWND main) override {
        SetVirtualScreenLink(&ProductVirtualScreenLink());
        return VirtualScreen::Start(::GetModuleHandleW(nullptr), main);
    }
    void StopVirtualScreen() override { VirtualScreen::Stop(); }
    void SetVirtualScreenMode(int32_t mode) override { VirtualScreen::SetMode(mode); }
    int32_t VirtualScreenMode() override { return VirtualScreen::Mode(); }
    bool IsNearVirtualEdge(POINT screenPoint) override {
        const int32_t mode = VirtualScreen::Mode();
        return mode != 0 && VirtualScreen::IsPointAtEdge(screenPoint, mode, kDropMargin);
    }

    // --- Clipboard channel.
    bool IsClipboardChannelRunning() override { return ClipboardChannel::Instance().IsRunning(); }
    bool IsClipboardChannelConnected() override { return ClipboardChannel::Instance().IsConnected(); }
    void OnLocalClipboardUpdate(HWND main) override {
        ClipboardChannel::Instance().OnLocalClipboardUpdate(main);
    }

    // --- Transfer progress window.
    WNDPROC ProgressWindowProc() override { return TransferProgressWindowProc(); }
    void PlaceProgressWindow(HWND main, HWND progress) override {
        PositionTransferProgressWindow(main, progress);
    }
    bool MarkProgressRefreshPending() override { return MarkTransferRefreshPending(); }
    void RefreshProgressWindow(HWND progress) override { RefreshTransferProgressWindow(progress); }
    TransferUiSnapshot TransferSnapshot() override { return TransferUiSnapshotForMainWindow(); }
    void StartLongTransferWorker(uint64_t id, uint32_t delayMs) override {
        (void)id; // the worker follows whichever transfer moves
        ::StartLongTransferWorker(MainWindowHandle(), delayMs);
    }
    void BringForwardForLongTransfer(HWND main, uint64_t id, uint32_t ageMs) override {
        ShowMainWindowForLongTransfer(main, id, ageMs);
    }
};

} // namespace

void InstallProductMainWindowParts() {
    // Kept to process end: the main window calls it until it is destroyed.
    SetMainWindowParts(new ProductMainWindowParts);
}
