#include "app/win/VirtualScreenLinkWin.h"

#include "core/RuntimeState.h"
#include "input/InputPacket.h"
#include "input/InputSender.h"
#include "input/win/InputRouter.h"
#include "media/ControllerSessionLive.h"
#include "transfer/win/FileTransferService.h"

namespace {

class ProductLink final : public IVirtualScreenLink {
public:
    bool IsInputReady() override { return InputRouter::IsTcpReady() && RuntimeIsClientRunning(); }
    bool Send(const VirtualScreenPacket& p, bool priority) override {
        const InputPacket packet =
            MakeInputPacket(static_cast<InputPacketType>(p.type), p.x, p.y, p.data1, p.data2);
        return priority ? InputSender().SendPriorityPacket(packet) : InputSender().SendPacket(packet);
    }
    void SetInputScope(bool active, const char* reason) override {
        InputRouter::SetVirtualScreenInputScope(active, reason);
    }
    bool IsInputScope() override { return InputRouter::IsVirtualScreenInputScope(); }
    void NoteButtonForwarded(int32_t button, bool down) override {
        InputRouter::SetVirtualScreenButtonForwarded(button, down);
    }
    void SyncModifiers(const char* reason) override { InputRouter::SyncRemoteModifiers(reason); }
    void ReleaseModifiers(const char* reason) override { InputRouter::ReleaseRemoteModifiers(reason); }
    void CancelRemoteDrag() override { InputRouter::CancelRemoteDrag(); }
    bool OfferDroppedFiles(const std::vector<std::u16string>& paths) override {
        std::vector<std::wstring> wide;
        wide.reserve(paths.size());
        for (const std::u16string& path : paths)
            wide.emplace_back(reinterpret_cast<const wchar_t*>(path.data()), path.size());
        return FileTransferService::OfferDroppedFiles(wide);
    }
    bool IsDragTransferActive() override { return ::IsDragTransferActive(); }
};

} // namespace

IVirtualScreenLink& ProductVirtualScreenLink() {
    static ProductLink* link = new ProductLink(); // kept to process end: the hook may call it late
    return *link;
}
