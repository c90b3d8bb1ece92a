#include "core/win/StallThreadEnd.h"

#include <windows.h>

#include <cstdint>
#include <mutex>

#include "core/Log.h"
#include "core/StallScope.h"

namespace {

DWORD g_flsIndex = FLS_OUT_OF_INDEXES;

// The value is slot + 1, so that slot 0 is not the null value that gets no callback.
void NTAPI OnThreadEnd(void* value) {
    if (value != nullptr)
        ReleaseStallSlot(static_cast<int>(reinterpret_cast<intptr_t>(value) - 1));
}

void ReleaseAtThreadEnd(int slot) {
    ::FlsSetValue(g_flsIndex, reinterpret_cast<void*>(static_cast<intptr_t>(slot) + 1));
}

} // namespace

void InstallStallThreadEndHook() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_flsIndex = ::FlsAlloc(&OnThreadEnd);
        if (g_flsIndex == FLS_OUT_OF_INDEXES) {
            Log::Write("[STALL] thread end hook failed gle=%lu", ::GetLastError());
            return;
        }
        SetStallThreadEndHook(&ReleaseAtThreadEnd);
    });
}
