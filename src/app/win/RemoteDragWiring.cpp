#include "app/win/RemoteDragWiring.h"

#include <windows.h>

#include <string>

#include "app/win/RemoteDragOfferSender.h"
#include "core/ConfigService.h"
#include "core/EventBus.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/Utf.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/RemoteDragReceiver.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/win/DragVisualFlag.h"
#include "dragdrop/win/RemoteDragControlled.h"
#include "input/InputPacket.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "ui/win/MainWindowState.h"

namespace {

constexpr uint32_t kWarningBalloon = 2; // NIIF_WARNING
constexpr uint32_t kNoticeMs = 5000;

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
    RemoteDragControlled::SetOfferSender(new RemoteDragOfferSender);
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
