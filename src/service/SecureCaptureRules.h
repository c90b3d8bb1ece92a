#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Small decisions of the secure-desktop capture that need no Windows: which output to duplicate, which
// duplicated formats can be read, and the HRESULT of a failed screen copy.

// One display output as DXGI enumerates it, in enumeration order over all adapters.
struct SecureOutputInfo {
    bool attached = false;
    int32_t left = 0;
    int32_t top = 0;
};

// The first attached output whose desktop begins at (0,0) (the primary monitor), else the last attached one
// seen; nothing when no output is attached.
std::optional<size_t> ChooseSecureCaptureOutput(const std::vector<SecureOutputInfo>& outputs);

// Only B8G8R8A8_UNORM (87) and B8G8R8X8_UNORM (88) frames can be copied as BGRA.
bool IsSecureCaptureFormat(uint32_t dxgiFormat);

// HRESULT_FROM_WIN32 of a Win32 error; 0 stays 0.
int32_t SecureHresultFromWin32(uint32_t error);

// The result of a screen copy that failed twice: the last error, else the first one, else
// ERROR_GEN_FAILURE (31), as an HRESULT.
int32_t SecureBlitFailure(uint32_t firstError, uint32_t lastError);
