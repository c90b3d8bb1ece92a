#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "service/win/SecureDuplicationSource.h"

class SecureFramePublisher;

// Captures the desktop this process runs on (desktop duplication, else GDI), skips black frames, publishes
// the rest and/or writes them as BMP. Used by the capture worker the service starts and by the hand-run
// diagnostics.
class SecureCapture {
public:
    // publisher: where frames go when publishing (may be null otherwise); bmpName: the BMP file in the data
    // folder, empty when BMP diagnostics are off. duplicate: null means IDXGIOutput1::DuplicateOutput (tests
    // hand in a fake where the system has no duplication).
    SecureCapture(SecureFramePublisher* publisher, std::wstring bmpName,
                  SecureDuplicationSource::DuplicateOutputFn duplicate = nullptr);

    // Returns 0 when stopped, accessDeniedExitCode when this desktop is not the input desktop (and that code
    // is nonzero), or with captureOnce a failing HRESULT.
    uint32_t Run(HANDLE stopEvent, HANDLE rebuildEvent, bool captureOnce, uint32_t accessDeniedExitCode,
                 bool publishShared);

private:
    SecureFramePublisher* m_publisher;
    std::wstring m_bmpName;
    SecureDuplicationSource::DuplicateOutputFn m_duplicate;
};
