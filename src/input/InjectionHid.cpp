#include "input/InjectionHid.h"

#include <atomic>

namespace {
IInjectionHid g_absentHid;
std::atomic<IInjectionHid*> g_hid{nullptr};
} // namespace

void SetInjectionHid(IInjectionHid* hid) {
    g_hid.store(hid);
}

IInjectionHid& InjectionHid() {
    IInjectionHid* hid = g_hid.load();
    return hid != nullptr ? *hid : g_absentHid;
}
