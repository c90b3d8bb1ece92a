#include "app/win/RemoteDragWiring.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/ConfigService.h"
#include "core/EventBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/Utf.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/RemoteDragOfferText.h"
#include "dragdrop/RemoteDragReceiver.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/win/DragVisualFlag.h"
#include "dragdrop/win/RemoteDragControlled.h"
#include "input/InputPacket.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "transfer/win/FileTransferService.h"
#include "ui/win/MainWindowState.h"

namespace {

constexpr uint32_t kWarningBalloon = 2; // NIIF_WARNING
constexpr uint32_t kNoticeMs = 5000;

// The controlled side's sender: the offer counter starts at 1 in each process.
class AppOfferSender final : public IRemoteDragOfferSender {
public:
    void SendOffer(const std::vector<std::wstring>& paths, uint64_t bytes, bool folder,
                   const std::string& detailUtf8) override {
        if (RuntimeGetRole() != RemoteDragSelection::kRoleControlled || paths.empty())
            return;
        RemoteDragOfferText::Fields offer;
        offer.id = m_counter.fetch_add(1) + 1;
        offer.count = static_cast<uint32_t>(paths.size());
        offer.bytes = bytes;
        offer.folder = folder;
        offer.detail = detailUtf8;
        ClipboardChannel& channel = ClipboardChannel::Instance();
        // The controller fetches the files over the channel's own link: a loopback address in the offer
        // would send it to its own HTTP server.
        const std::string host = channel.GetLocalAddress();
        uint64_t transferId = 0;
        bool ok = false;
        if (host.empty()) {
            Log::Write("[RDRAG][SEND][ERR] no local address on the clipboard channel count=%d",
                       static_cast<int>(offer.count));
        } else if (!FileTransferService::OfferViaHttp(paths, host, transferId, offer.httpPayload)) {
            Log::Write("[RDRAG][SEND][ERR] HTTP offer prepare failed count=%d",
                       static_cast<int>(offer.count));
        } else {
            RuntimeSetRemoteDrag(true, static_cast<int32_t>(offer.count), bytes, folder ? 1 : 0, offer.id,
                                 detailUtf8.c_str());
            ok = Send(offer);
        }
        Log::Write("[RDRAG][SEND] id=%llu transfer=%llu count=%d bytes=%llu folder=%d httpPayload=%u ok=%d "
                   "detail=%s",
                   static_cast<unsigned long long>(offer.id), static_cast<unsigned long long>(transferId),
                   static_cast<int>(offer.count), static_cast<unsigned long long>(bytes), folder ? 1 : 0,
                   static_cast<unsigned>(offer.httpPayload.size()), ok ? 1 : 0, detailUtf8.c_str());
    }

private:
    static bool Send(const RemoteDragOfferText::Fields& offer) {
        const std::string text = RemoteDragOfferText::Build(offer);
        const auto size = static_cast<uint32_t>(text.size());
        ClipboardChannel& channel = ClipboardChannel::Instance();
        const bool enabled = ConfigService::Instance().GetSnapshot().clipboardEnable != 0;
        const bool running = channel.IsRunning();
        if (!enabled || !running) {
            Log::Write("[CLIP][SERVICE][RDRAG] unavailable enabled=%d running=%d payload=%u", enabled ? 1 : 0,
                       running ? 1 : 0, size);
            return false;
        }
        StateManager::Instance().SetClipboardBusy(true, "remote-drag-offer");
        bool ok = false;
        if (!channel.IsConnected())
            Log::Write("[RDRAG][SEND][ERR] clipboard control not connected");
        else
            ok = channel.SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_DRAG_PAYLOAD), 0, 0, 0, 0,
                                     text.data(), size);
        StateManager::Instance().SetClipboardBusy(false, "remote-drag-offer");
        Log::Write("[CLIP][SERVICE][RDRAG] payload=%u ok=%d", size, ok ? 1 : 0);
        return ok;
    }

    std::atomic<uint64_t> m_counter{0};
};

class AppReceiverPorts final : public IRemoteDragReceiverPorts {
public:
    uint32_t TickMs() override { return ::GetTickCount(); }
    int32_t Role() override { return RuntimeGetRole(); }
    bool LeftButtonDown() override { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }
    void SetRuntimeRemoteDrag(bool active, uint32_t count, uint64_t bytes, bool folder, uint64_t id,
                              const std::string& detail) override {
        RuntimeSetRemoteDrag(active, static_cast<int32_t>(count), bytes, folder ? 1 : 0, id, detail.c_str());
    }
    RemoteDragDownloadStart BeginDownload(const std::string& payload,
                                          const std::string& targetUtf8) override {
        StateManager::Instance().SetFileTransferBusy(true, "remote-drag-drop");
        const BeginResult result =
            FileHttpReceiveManager::Instance().BeginFromHttpBeginPayload(payload, targetUtf8);
        StateManager::Instance().SetFileTransferBusy(false, "remote-drag-drop");
        switch (result) {
        case BeginResult::Started:
            return RemoteDragDownloadStart::Started;
        case BeginResult::Busy:
            return RemoteDragDownloadStart::Busy;
        default:
            return RemoteDragDownloadStart::Failed;
        }
    }
    bool UiEnglish() override { return ConfigService::Instance().IsUiLanguageEnglish(); }
    void NotifyUser(const std::string& status, std::u16string_view title, std::u16string_view body) override {
        SetStatusAndRepaint(status.c_str());
        PostUiNotification(title, body, kWarningBalloon, kNoticeMs);
    }
    bool ExchangeDragVisual(bool on) override { return ExchangeDragVisualAndRefresh(on); }
};

// The one object the windows and the clipboard channel reach the remote drag through.
class AppRemoteDragOffer final : public IRemoteDragOffer {
public:
    bool TriggerDownload(const std::u16string& targetFolder) override {
        return m_receiver.TriggerDownload(Utf16ToUtf8(targetFolder));
    }
    void CancelForLocalDrop(const char* reason) override { m_receiver.CancelForLocalDrop(reason); }
    void OnReceive(std::string_view payload) override { m_receiver.OnReceive(payload); }
    void ClearSelection(const char* tag, const char* reason) override {
        RemoteDragControlled::Selection().Clear(tag, reason);
    }

private:
    AppReceiverPorts m_ports;
    RemoteDragReceiver m_receiver{RemoteDragSlot::Instance(), m_ports};
};

InjectedPacketKind KindOf(uint32_t type) {
    switch (static_cast<InputPacketType>(type)) {
    case InputPacketType::MouseMove:
        return InjectedPacketKind::MouseMove;
    case InputPacketType::MouseButton:
        return InjectedPacketKind::MouseButton;
    case InputPacketType::MouseWheel:
        return InjectedPacketKind::MouseWheel;
    case InputPacketType::Key:
        return InjectedPacketKind::Key;
    default:
        return InjectedPacketKind::Other;
    }
}

// A key's data2 carries flags beside the down bit (extended, NumLock); the watch wants only "down".
int32_t DownOf(InjectedPacketKind kind, int32_t data2) {
    return kind == InjectedPacketKind::Key ? (data2 & KeyPacketFlags::kDown) : data2;
}

} // namespace

void ConnectRemoteDragServices() {
    // Kept to process end: detached fill and publish threads and the channel's threads may still call them.
    RemoteDragControlled::SetOfferSender(new AppOfferSender);
    SetRemoteDragOffer(new AppRemoteDragOffer);
}

bool RemoteDragTakeoverInput(uint32_t type, int32_t data1, int32_t data2) {
    const InjectedPacketKind kind = KindOf(type);
    if (kind == InjectedPacketKind::Other)
        return false;
    return RemoteDragControlled::Selection().OnTakeoverInput(kind, type, data1, DownOf(kind, data2));
}

void RemoteDragObserveInput(uint32_t type, int32_t data1, int32_t data2) {
    const InjectedPacketKind kind = KindOf(type);
    RemoteDragControlled::Selection().OnInputPacket(kind, type, data1, DownOf(kind, data2));
}
