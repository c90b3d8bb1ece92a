#include <atomic>
#include <string>
#include <vector>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/win/DragDrop.h"
#include "input/RemoteInputRoute.h"
#include "transfer/DroppedFilesChannel.h"
#include "transfer/PendingOfferQueue.h"
#include "ui/win/RemoteViewWindow.h"

namespace {
// Lets the peer's cursor reach the drop point before the offer arrives, so the peer drops the files where
// the user let go.
constexpr DWORD kCursorSettleMs = 260;
std::atomic<uint64_t> g_lastDropTick{0};
} // namespace

uint64_t RemoteViewLastDropTick() {
    return g_lastDropTick.load();
}

void RemoteViewDropFiles(HWND hwnd, HDROP drop) {
    const unsigned long long dropId = ::GetTickCount64();
    g_lastDropTick.store(dropId);
    RemoteDragOffer().CancelForLocalDrop("local-files-dropped-into-remoteview");
    RuntimeSetRemoteDrag(false, 0, 0, 0, 0, "");
    Log::Write(
        "[DRAGMON][LOCAL->REMOTE] drop into RemoteView: suppress local HTTP receive for this physical drop "
        "id=%llu",
        dropId);

    POINT client{};
    if (drop != nullptr && ::DragQueryPoint(drop, &client)) {
        POINT remote{};
        if (RemoteViewClientToRemote(hwnd, client, &remote)) {
            RemoteInputRoute().SendRemoteMouseMove(remote.x, remote.y, true);
            ::Sleep(kCursorSettleMs);
            Log::Write(
                "RemoteView drop point local=(%d,%d) remote=(%ld,%ld), priority cursor update before file "
                "transfer",
                static_cast<int>(client.x), static_cast<int>(client.y), remote.x, remote.y);
        } else {
            RemoteViewSendMouseMove(hwnd, client);
            ::Sleep(kCursorSettleMs);
            Log::Write("RemoteView drop point local=(%d,%d), fallback cursor update before file transfer",
                       static_cast<int>(client.x), static_cast<int>(client.y));
        }
    }

    std::vector<std::u16string> paths;
    if (!DragDrop::ExtractHdropFiles(drop, paths, true))
        return;
    const bool clipboardEnabled = ConfigService::Instance().GetSnapshot().clipboardEnable > 0;
    if (!DroppedFilesMayBeOffered(paths.size(), clipboardEnabled, RemoteInputRoute().IsRemoteControlActive()))
        return;
    OfferDroppedFiles(paths, DroppedFilesChannel(), PendingOfferQueue::Instance());
    RuntimeSetStatusMessageAndRepaint("Sending dropped files...");
    Log::Write("RemoteView dropped files count=%u", static_cast<unsigned>(paths.size()));
}
