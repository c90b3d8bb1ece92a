#include "transfer/win/ClipboardChannel.h"

#include <shlwapi.h>

#include <exception>
#include <string>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/StateManager.h"
#include "core/ThreadHelpers.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/win/ShellSelection.h"
#include "transfer/ClipboardKind.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardWatchRules.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/FileTransferUi.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "transfer/win/FileTransferService.h"

namespace {

// The Ctrl+V key events reach the target window before the paste starts.
constexpr DWORD kPasteDelayMs = 35;

bool IsDirectory(const std::wstring& path) {
    if (path.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The name the progress window shows: the first path's file name, or the whole path when it has none.
std::u16string DisplayName(const std::wstring& first) {
    const wchar_t* name = ::PathFindFileNameW(first.c_str());
    return std::u16string(AsUtf16(name != nullptr && *name != L'\0' ? name : first.c_str()));
}

} // namespace

bool ClipboardChannel::HasRemoteFileOffer() {
    std::lock_guard<std::mutex> lock(m_offerMutex);
    return m_offerId != 0 && !m_offerPayload.empty();
}

bool ClipboardChannel::QueueRemoteFilesPaste() {
    uint64_t id = 0;
    int32_t count = 0;
    {
        std::lock_guard<std::mutex> lock(m_offerMutex);
        if (m_offerId != 0 && !m_offerPayload.empty()) {
            id = m_offerId;
            count = m_offerCount;
        }
    }
    if (id == 0) {
        Log::Write("[CLIPFILE][PASTE_ASYNC] ignored: no remote file offer");
        return false;
    }
    POINT point{};
    ::GetCursorPos(&point);
    Log::Write("[CLIPFILE][PASTE_ASYNC] queued id=%llu count=%d pt=%ld,%ld",
               static_cast<unsigned long long>(id), static_cast<int>(count), static_cast<long>(point.x),
               static_cast<long>(point.y));
    std::string error;
    const bool started = StartDetachedWorker(
        "ClipboardFilePasteAsync",
        [this, id, count, point] {
            ::Sleep(kPasteDelayMs);
            // The folder under the cursor comes from the shell's automation objects.
            ComApartment com(COINIT_APARTMENTTHREADED);
            if (FAILED(com.Result()) && com.Result() != RPC_E_CHANGED_MODE)
                Log::Write("[CLIPFILE][PASTE_ASYNC] CoInitializeEx failed hr=0x%08lx",
                           static_cast<unsigned long>(com.Result()));
            Log::Write("[CLIPFILE][PASTE_ASYNC] start id=%llu count=%d pt=%ld,%ld cohr=0x%08lx",
                       static_cast<unsigned long long>(id), static_cast<int>(count),
                       static_cast<long>(point.x), static_cast<long>(point.y),
                       static_cast<unsigned long>(com.Result()));
            const bool ok = StartRemoteClipboardFilesPaste();
            Log::Write("[CLIPFILE][PASTE_ASYNC] done id=%llu ok=%d", static_cast<unsigned long long>(id), ok);
        },
        &error);
    if (!started)
        Log::Write("[CLIPFILE][PASTE_ASYNC] thread create failed: %s", error.c_str());
    return started;
}

bool ClipboardChannel::StartRemoteClipboardFilesPaste() {
    StallScope stall("Clipboard", "StartRemoteClipboardFilesPaste", 300);
    uint64_t id = 0;
    int32_t count = 0;
    std::string payload;
    {
        std::lock_guard<std::mutex> lock(m_offerMutex);
        if (m_offerId != 0 && !m_offerPayload.empty()) {
            id = m_offerId;
            count = m_offerCount;
            payload = m_offerPayload;
        }
    }
    if (id == 0) {
        Log::Write("[CLIPFILE][PASTE] ignored: no remote file offer");
        return false;
    }
    POINT point{};
    ::GetCursorPos(&point);
    const std::wstring folder = ShellTargetResolver::FolderUnderCursor();
    const std::string target = WideToUtf8(folder.c_str());
    if (!IsDirectory(folder)) {
        // The offer stays cached: a later Ctrl+V over a folder can still use it.
        Log::Write("[CLIPFILE][TARGET] pt=%ld,%ld resolved=\"%s\" isDir=0 allow=0 reason=not-folder id=%llu "
                   "count=%d",
                   static_cast<long>(point.x), static_cast<long>(point.y), target.c_str(),
                   static_cast<unsigned long long>(id), static_cast<int>(count));
        return false;
    }
    Log::Write("[CLIPFILE][TARGET] pt=%ld,%ld resolved=\"%s\" isDir=1 allow=1 id=%llu count=%d",
               static_cast<long>(point.x), static_cast<long>(point.y), target.c_str(),
               static_cast<unsigned long long>(id), static_cast<int>(count));
    {
        // An offer is pasted once; a newer offer that arrived meanwhile stays.
        std::lock_guard<std::mutex> lock(m_offerMutex);
        if (m_offerId == id) {
            m_offerId = 0;
            m_offerCount = 0;
            m_offerPayload.clear();
        }
    }
    StateManager::Instance().SetFileTransferBusy(true, "clipboard-paste");
    const bool ok =
        FileHttpReceiveManager::Instance().BeginFromHttpBeginPayload(payload, target) == BeginResult::Started;
    StateManager::Instance().SetFileTransferBusy(false, "clipboard-paste");
    Log::Write("[TRANSFER][ACCEPT] http target=%s ok=%d payload=%u", target.c_str(), ok,
               static_cast<unsigned>(payload.size()));
    RecordClipboard(ClipboardKind::None, 0, ok ? "REMOTE_FILES paste started" : "REMOTE_FILES paste failed");
    Log::Write("[CLIPFILE][PASTE] target=\"%s\" isDir=1 allow=1 id=%llu count=%d ok=%d payload=%u",
               target.c_str(), static_cast<unsigned long long>(id), static_cast<int>(count), ok,
               static_cast<unsigned>(payload.size()));
    return ok;
}

void ClipboardChannel::QueueDroppedFiles(const std::vector<std::wstring>& paths) {
    RemoteDragOffer().CancelForLocalDrop("local-drop-send-start");
    const bool running = IsRunning();
    Log::Write("[TRANSFER][QUEUE] dropped-files count=%u running=%d connected=%d",
               static_cast<unsigned>(paths.size()), running, IsConnected());
    std::string error;
    if (!StartDetachedWorker(
            "ClipboardSendFiles", [this, paths] { SendDroppedFilesWhenConnected(paths); }, &error)) {
        Log::Write("[TRANSFER][QUEUE][FAIL] send thread create failed: %s", error.c_str());
        FileTransferUi::Instance().Fail(0, u"HTTP transfer command send failed");
    }
}

void ClipboardChannel::SendDroppedFilesWhenConnected(const std::vector<std::wstring>& paths) {
    class Wait final : public IChannelWait {
    public:
        explicit Wait(ClipboardChannel& channel) : m_channel(channel) {}
        bool Running() override { return m_channel.IsRunning(); }
        bool Connected() override { return m_channel.m_socket.load() != INVALID_SOCKET; }
        uint32_t NowTick() override { return ::GetTickCount(); }
        void Sleep(uint32_t ms) override { ::Sleep(ms); }

    private:
        ClipboardChannel& m_channel;
    } wait(*this);

    const uint32_t waited = WaitForChannelConnection(wait);
    Log::Write("[TRANSFER][QUEUE][DEQUEUE] files=%u waitedMs=%lu running=%d connected=%d",
               static_cast<unsigned>(paths.size()), static_cast<unsigned long>(waited), IsRunning(),
               IsConnected());
    // A failure of this one transfer ends the transfer, not the channel: the connection and the other
    // users of the channel carry on.
    uint64_t transferId = 0;
    std::string reason;
    try {
        StartHttpTransfer(paths, transferId);
        return;
    } catch (const std::exception& e) {
        reason = e.what();
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", "ClipboardSendFiles", Tid(),
                   reason.c_str());
    } catch (...) {
        reason = "unknown thread exception";
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", "ClipboardSendFiles", Tid());
    }
    RuntimeSetErrorText(reason.c_str());
    FileTransferUi::Instance().Fail(transferId, u"HTTP transfer command send failed");
}

void ClipboardChannel::StartHttpTransfer(const std::vector<std::wstring>& paths) {
    uint64_t transferId = 0;
    StartHttpTransfer(paths, transferId);
}

void ClipboardChannel::StartHttpTransfer(const std::vector<std::wstring>& paths, uint64_t& transferId) {
    FileTransferUi& ui = FileTransferUi::Instance();
    const auto files = static_cast<unsigned>(paths.size());
    if (paths.empty()) {
        Log::Write("[TRANSFER][START][FAIL] empty path list");
        return;
    }
    if (!IsConnected()) {
        ui.Fail(0, u"Control channel not connected");
        StatusLine("HTTP transfer failed: control channel not connected");
        Log::Write("[TRANSFER][START][FAIL] control socket not connected running=%d files=%u", IsRunning(),
                   files);
        return;
    }
    Log::Write("[TRANSFER][START] files=%u connected=1", files);
    RemoteDragOffer().CancelForLocalDrop("local-drop-send-to-remote");
    const std::string host = OfferHost();
    StatusLine("HTTP file transfer prepare...");
    std::string payload;
    if (!FileTransferService::OfferViaHttp(paths, host, transferId, payload) || payload.empty()) {
        ui.Fail(transferId, u"HTTP manifest prepare failed");
        StatusLine("HTTP file transfer prepare failed");
        Log::Write("HTTP file transfer prepare failed paths=%zu host=%s", paths.size(), host.c_str());
        return;
    }
    const uint64_t totalBytes = ReadPayloadNumber(payload, "totalBytes");
    const uint64_t items = ReadPayloadNumber(payload, "itemCount");
    const auto itemCount = static_cast<uint32_t>(items > UINT32_MAX ? UINT32_MAX : items);
    const std::u16string name = DisplayName(paths.front());
    ui.Start(FileTransferPhase::Sending, transferId, name, totalBytes);
    ui.UpdateProgress(transferId, name, 0, totalBytes, 0, 0);
    ui.SetItemProgress(transferId, itemCount != 0 ? 1 : 0, itemCount);
    if (!SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_HTTP_BEGIN), transferId, 0, 0, 0,
                     payload.data(), static_cast<uint32_t>(payload.size()))) {
        ui.Fail(transferId, u"HTTP transfer command send failed");
        StatusLine("HTTP transfer command send failed");
        Log::Write("HTTP file transfer command send failed id=%llu",
                   static_cast<unsigned long long>(transferId));
        return;
    }
    StatusLine("HTTP file transfer command sent");
    Log::Write("HTTP file transfer command sent id=%llu paths=%zu host=%s",
               static_cast<unsigned long long>(transferId), paths.size(), host.c_str());
}
