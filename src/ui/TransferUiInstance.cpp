// The process-wide transfer model is wired here, in the user interface, because the controller test it
// needs is the user interface's own (SessionRoles.h); the transfer code below only sees the model.
#include "core/ConfigService.h"
#include "core/EventBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "transfer/FileTransferUi.h"
#include "ui/SessionRoles.h"

namespace {

class RuntimeTransferUiHost final : public IFileTransferUiHost {
public:
    uint32_t NowMs() override { return Log::TickCount(); }
    bool IsController() override {
        return IsThisPcController(RuntimeGetRole(), RuntimeIsClientRunning(), RuntimeIsHostRunning());
    }
    bool IsUiEnglish() override { return ConfigService::Instance().IsUiLanguageEnglish(); }
    // The main window's status-text handler stores the runtime status message and repaints StateView on
    // the UI thread.
    void ShowStatusLine(const std::string& line) override {
        TslyEvent event;
        event.type = kEventStatusText;
        event.text = line;
        EventBus::Instance().Publish(event);
    }
    void PublishTransferEvent(uint64_t transferId) override {
        TslyEvent event;
        event.type = kEventFileTransferUpdate;
        event.id = transferId;
        EventBus::Instance().Publish(event);
    }
    void Notify(std::u16string_view title, std::u16string_view body, uint32_t infoFlags,
                uint32_t timeoutMs) override {
        PostUiNotification(title, body, infoFlags, timeoutMs);
    }
};

} // namespace

FileTransferUi& FileTransferUi::Instance() {
    static RuntimeTransferUiHost host;
    static FileTransferUi model(host);
    return model;
}
