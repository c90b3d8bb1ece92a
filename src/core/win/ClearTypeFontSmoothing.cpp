#include "core/win/ClearTypeFontSmoothing.h"

#include <windows.h>

namespace {

constexpr UINT kSaveAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

FontSmoothingResult Result(BOOL ok) {
    return ok ? FontSmoothingResult{} : FontSmoothingResult{false, ::GetLastError()};
}

} // namespace

FontSmoothingResult ClearTypeFontSmoothing::SetEnabled(bool enabled) {
    return Result(
        ::SystemParametersInfoW(SPI_SETFONTSMOOTHING, enabled ? TRUE : FALSE, nullptr, kSaveAndBroadcast));
}

FontSmoothingResult ClearTypeFontSmoothing::SetType(uint32_t type) {
    return Result(::SystemParametersInfoW(SPI_SETFONTSMOOTHINGTYPE, 0,
                                          reinterpret_cast<PVOID>(static_cast<UINT_PTR>(type)),
                                          kSaveAndBroadcast));
}
