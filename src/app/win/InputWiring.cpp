#include "app/win/InputWiring.h"

#include <windows.h>

#include "app/TransportLifecycleModule.h"
#include "app/win/RemoteDragWiring.h"
#include "dragdrop/win/DragVisualFlag.h"
#include "input/InjectionHid.h"
#include "input/InputPeers.h"
#include "input/InputSender.h"
#include "input/UsbHidLink.h"
#include "input/win/AsyncHidWorker.h"
#include "input/win/HidCableLink.h"
#include "input/win/HidDevice.h"
#include "input/win/HidExports.h"
#include "input/win/HidPresence.h"
#include "input/win/InputChannel.h"
#include "input/win/InputInjector.h"
#include "link/KvmSessionManager.h"
#include "media/HostSession.h"
#include "transfer/win/ClipboardChannel.h"

namespace {

class CableInjectionHid final : public IInjectionHid {
public:
    int ProbePresent() override { return HidPresence::Probe(); }
    int SetSystemKey() override { return ::SetSystemKey(); }
    int SendWheel(int32_t x, int32_t y, int32_t delta) override {
        return UsbHidLink::SetMouseWheelMsg(GlobalHidContext(), 0, x, y, delta);
    }
};

// The services of other areas that injection reaches.
class AppInputPeers final : public IInputPeers {
public:
    void RequestHostVideoRestart() override { ::RequestHostVideoRestart(); }
    bool SetDragVisualActive(bool active) override { return ExchangeDragVisualAndRefresh(active) != active; }
    bool RemoteDragTakeover(uint32_t type, int32_t data1, int32_t data2) override {
        return RemoteDragTakeoverInput(type, data1, data2);
    }
    void RemoteDragObserve(uint32_t type, int32_t data1, int32_t data2) override {
        RemoteDragObserveInput(type, data1, data2);
    }
    bool HasRemoteFileOffer() override { return ClipboardChannel::Instance().HasRemoteFileOffer(); }
    bool IsLocalClipboardEmpty() override { return ClipboardChannel::Instance().IsLocalClipboardEmpty(); }
    bool QueueRemoteFilesPaste() override { return ClipboardChannel::Instance().QueueRemoteFilesPaste(); }
    void OnInjectedCtrlC() override { ClipboardChannel::Instance().OnInjectedCtrlC(); }
};

} // namespace

void ConnectInputServices() {
    // All kept to process end: the channel's detached threads may still call them at exit.
    InputChannel& channel = InputChannel::Instance();
    channel.SetInjector([](const InputPacket& packet) { InjectInputPacket(packet); });
    // Only the peer this PC is controlled by may drive its keyboard and mouse.
    channel.SetPeerFilter(
        [](const std::string& ip) { return KvmSessionManager::Instance().IsActivePeer(ip); });
    SetInputSender(&channel);
    SetInjectionHid(new CableInjectionHid);
    SetInputPeers(new AppInputPeers);
    InstallInputRouter();
    TransportLifecycleModule::BindInputStop(&AsyncHidWorkerCancel, [] { InputChannel::Instance().Stop(); });
}
