#include "app/win/TransferWiring.h"

#include <windows.h>

#include "link/KvmSessionManager.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "transfer/win/FileHttpServer.h"
#include "ui/win/LongTransferWatcher.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/TransferProgressView.h"

namespace {

// The main window's clipboard and transfer-window pieces.
class TransferMainWindowParts final : public IMainWindowParts {
public:
    bool IsClipboardChannelRunning() override { return ClipboardChannel::Instance().IsRunning(); }
    bool IsClipboardChannelConnected() override { return ClipboardChannel::Instance().IsConnected(); }
    void OnLocalClipboardUpdate(HWND main) override {
        ClipboardChannel::Instance().OnLocalClipboardUpdate(main);
    }

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
    void HideMainWindowToTray(HWND main) override {
        IMainWindowParts::HideMainWindowToTray(main);
        HideTransferProgressWithMainWindow(MainUi().progressWindow);
    }
};

} // namespace

void ConnectTransferServices() {
    // Only the active peer may use this PC's clipboard channel or fetch its offered files, and the HTTP
    // client fetches only from the peer on the other end of the channel.
    auto activePeer = [](const std::string& ip) { return KvmSessionManager::Instance().IsActivePeer(ip); };
    ClipboardChannel::Instance().SetPeerFilter(activePeer);
    FileHttpTransferManager::Instance().SetPeerFilter(activePeer);
    FileHttpReceiveManager::Instance().SetPeerAddressSource(
        [] { return ClipboardChannel::Instance().PeerAddress(); });
    // Kept to process end: the main window calls it until it is destroyed.
    SetMainWindowParts(new TransferMainWindowParts);
}
