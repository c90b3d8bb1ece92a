#include "service/SecureCaptureRules.h"

std::optional<size_t> ChooseSecureCaptureOutput(const std::vector<SecureOutputInfo>& outputs) {
    std::optional<size_t> lastAttached;
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (!outputs[i].attached)
            continue;
        if (outputs[i].left == 0 && outputs[i].top == 0)
            return i;
        lastAttached = i;
    }
    return lastAttached;
}

bool IsSecureCaptureFormat(uint32_t dxgiFormat) {
    constexpr uint32_t kB8G8R8A8Unorm = 87;
    constexpr uint32_t kB8G8R8X8Unorm = 88;
    return dxgiFormat == kB8G8R8A8Unorm || dxgiFormat == kB8G8R8X8Unorm;
}

int32_t SecureHresultFromWin32(uint32_t error) {
    // As HRESULT_FROM_WIN32: 0 and values that already are HRESULTs pass unchanged.
    if (static_cast<int32_t>(error) <= 0)
        return static_cast<int32_t>(error);
    return static_cast<int32_t>((error & 0xFFFFu) | 0x80070000u);
}

int32_t SecureBlitFailure(uint32_t firstError, uint32_t lastError) {
    constexpr uint32_t kErrorGenFailure = 31;
    const uint32_t error = lastError != 0 ? lastError : firstError != 0 ? firstError : kErrorGenFailure;
    return SecureHresultFromWin32(error);
}
