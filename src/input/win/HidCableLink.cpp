#include "input/win/HidCableLink.h"

#include "input/UsbHidLink.h"
#include "input/win/HidCableAccess.h"
#include "input/win/HidDevice.h"
#include "input/win/InputRouterRoute.h"

namespace {

class WorkerHidCable final : public IHidCable {
public:
    bool IsOpen() override { return UsbHidLink::IsOpen(*m_context); }
    int Open() override { return UsbHidLink::OpenHid(*m_context); }
    int SetMouseMsg(uint32_t msg, int32_t x, int32_t y) override {
        return UsbHidLink::SetMouseMsg(*m_context, msg, x, y);
    }
    int SetMouseWheelMsg(uint32_t msg, int32_t x, int32_t y, int32_t delta) override {
        return UsbHidLink::SetMouseWheelMsg(*m_context, msg, x, y, delta);
    }
    int SetKBMsg(uint32_t vk, uint32_t msg) override { return UsbHidLink::SetKBMsg(*m_context, vk, msg); }

private:
    std::unique_ptr<UsbHidContext, void (*)(UsbHidContext*)> m_context = MakeHidContext();
};

} // namespace

std::unique_ptr<IHidCable> MakeWorkerHidCable() {
    return std::make_unique<WorkerHidCable>();
}

int SearchGlobalHidContext() {
    return UsbHidLink::SearchHid(GlobalHidContext());
}

void InstallInputRouter() {
    SetHidCableAccess({&MakeWorkerHidCable, &SearchGlobalHidContext});
    InstallInputRouterRoute();
}
