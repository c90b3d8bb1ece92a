#include "input/win/HidCableAccess.h"

#include <mutex>

namespace {

class AbsentHidCable final : public IHidCable {
public:
    bool IsOpen() override { return false; }
    int Open() override { return -1; }
    int SetMouseMsg(uint32_t, int32_t, int32_t) override { return -1; }
    int SetMouseWheelMsg(uint32_t, int32_t, int32_t, int32_t) override { return -1; }
    int SetKBMsg(uint32_t, uint32_t) override { return -1; }
};

std::mutex g_mutex;
HidCableAccess g_access; // under g_mutex

HidCableAccess Access() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_access;
}

} // namespace

void SetHidCableAccess(HidCableAccess access) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_access = std::move(access);
}

std::unique_ptr<IHidCable> MakeWorkerHidCableFromAccess() {
    HidCableAccess access = Access();
    if (access.makeWorkerCable)
        if (std::unique_ptr<IHidCable> cable = access.makeWorkerCable())
            return cable;
    return std::make_unique<AbsentHidCable>();
}

int SearchHidFromAccess() {
    HidCableAccess access = Access();
    return access.searchPresent ? access.searchPresent() : -1;
}
