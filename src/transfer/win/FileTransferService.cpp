#include <windows.h>

#include "transfer/win/FileTransferService.h"

#include <utility>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/StallScope.h"
#include "core/StateManager.h"
#include "core/StateManagerTypes.h"
#include "core/ThreadHelpers.h"
#include "core/win/TextConvert.h"
#include "input/RemoteInputRoute.h"
#include "transfer/DroppedFilesChannel.h"
#include "transfer/DroppedFilesOffer.h"
#include "transfer/PendingOfferFlush.h"
#include "transfer/PendingOfferQueue.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "transfer/win/FileHttpServer.h"

namespace {

std::vector<std::u16string> ToUtf16(const std::vector<std::wstring>& paths) {
    std::vector<std::u16string> list;
    list.reserve(paths.size());
    for (const std::wstring& path : paths)
        list.emplace_back(AsUtf16(path.c_str()));
    return list;
}

// The clipboard channel as the dropped-file offer and the pending flush see it.
class ClipboardDropChannel final : public IDroppedFilesChannel {
public:
    bool IsClipboardRunning() override { return ClipboardChannel::Instance().IsRunning(); }
    bool IsClipboardConnected() override { return ClipboardService::IsConnected(); }
    bool SendDroppedFiles(const std::vector<std::u16string>& paths) override {
        std::vector<std::wstring> wide;
        wide.reserve(paths.size());
        for (const std::u16string& path : paths)
            wide.push_back(AsWide(path));
        return ClipboardService::SendDroppedFiles(wide);
    }
    void SetFileTransferBusy(bool busy) override { StateManager::Instance().SetFileTransferBusy(busy); }
};

// Both live to the end of the process: a detached flush worker may still use them at exit.
ClipboardDropChannel& DropChannel() {
    static auto* channel = new ClipboardDropChannel();
    return *channel;
}

PendingOfferFlush& Flush() {
    static auto* flush = new PendingOfferFlush(
        PendingOfferQueue::Instance(), DropChannel(),
        [](std::function<void()> body) { return StartDetachedWorker("PendingOfferFlush", std::move(body)); },
        [](uint32_t ms) { ::Sleep(ms); });
    return *flush;
}

} // namespace

bool FileTransferService::Start() {
    const bool server = FileHttpTransferManager::Instance().StartServer();
    const bool receive = FileHttpReceiveManager::Instance().Start();
    StateManager::Instance().SetFileTransferBusy(false);
    SetDroppedFilesChannel(&DropChannel());
    PendingOfferQueue::Instance().SetAppendObserver([] { Flush().Wake(); });
    Log::Write("[TRANSFER][SERVICE] start server=%d receive=%d", server ? 1 : 0, receive ? 1 : 0);
    return server && receive;
}

void FileTransferService::Stop() {
    FileHttpTransferManager::Instance().StopServer();
    FileHttpReceiveManager::Instance().Stop();
}

bool FileTransferService::OfferDroppedFiles(const std::vector<std::wstring>& paths) {
    if (paths.empty()) {
        Log::Write("[TRANSFER][OFFER][FAIL] empty path list");
        return false;
    }
    if (!RemoteInputRoute().IsRemoteControlActive()) {
        Log::Write("[TRANSFER][OFFER][FAIL] remote input/control path not ready count=%u",
                   static_cast<unsigned>(paths.size()));
        return false;
    }
    ::OfferDroppedFiles(ToUtf16(paths), DroppedFilesChannel(), PendingOfferQueue::Instance());
    return true;
}

void FileTransferService::StartPendingFlush(const char* reason) {
    Flush().OnConnected(reason);
}

bool FileTransferService::OfferViaHttp(const std::vector<std::wstring>& paths, const std::string& host,
                                       uint64_t& transferId, std::string& payload) {
    transferId = 0;
    payload.clear();
    if (paths.empty())
        return false;
    const std::string server = host.empty() ? "127.0.0.1" : host;
    StateManager::Instance().SetFileTransferBusy(true);
    const bool ok = FileHttpTransferManager::Instance().BeginOffer(paths, server, "", transferId, payload);
    StateManager::Instance().SetFileTransferBusy(false);
    Log::Write("[TRANSFER][OFFER] http count=%zu host=%s id=%llu ok=%d payload=%u", paths.size(),
               server.c_str(), static_cast<unsigned long long>(transferId), ok ? 1 : 0,
               static_cast<unsigned>(payload.size()));
    return ok && !payload.empty();
}

bool ClipboardService::StartClient(const std::string& peerIp, uint16_t port) {
    StateManager& state = StateManager::Instance();
    state.SetClipboardBusy(true);
    const bool ok = ClipboardChannel::Instance().StartClient(peerIp, port);
    state.SetClipboardBusy(false);
    if (ok)
        state.SetChannelState(kChannelClipboard, ChannelState::Connecting, "clipboard client connecting");
    else
        state.SetChannelState(kChannelClipboard, ChannelState::Error, "clipboard client start failed");
    Log::Write("[CLIP][SERVICE][CLIENT] peer=%s port=%u ok=%d", peerIp.c_str(), static_cast<unsigned>(port),
               ok ? 1 : 0);
    return ok;
}

bool ClipboardService::IsConnected() {
    return ClipboardChannel::Instance().IsConnected();
}

bool ClipboardService::SendDroppedFiles(const std::vector<std::wstring>& paths) {
    StallScope stall("ClipboardService", "SendDroppedFiles", 200);
    if (paths.empty()) {
        Log::Write("[CLIP][SERVICE][DROP] empty");
        return false;
    }
    ClipboardChannel& channel = ClipboardChannel::Instance();
    const bool running = channel.IsRunning();
    if (!running) {
        const bool enabled = ConfigService::Instance().GetSnapshot().clipboardEnable != 0;
        Log::Write("[CLIP][SERVICE][DROP] unavailable enabled=%d running=%d connected=%d count=%u",
                   enabled ? 1 : 0, 0, channel.IsConnected() ? 1 : 0, static_cast<unsigned>(paths.size()));
        return false;
    }
    StateManager& state = StateManager::Instance();
    state.SetClipboardBusy(true);
    channel.QueueDroppedFiles(paths);
    state.SetClipboardBusy(false);
    Log::Write("[CLIP][SERVICE][DROP] queued count=%u connected=%d", static_cast<unsigned>(paths.size()),
               channel.IsConnected() ? 1 : 0);
    return true;
}
