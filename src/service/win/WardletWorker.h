#pragma once

#include <cstdint>
#include <string_view>

// The capture worker the service starts on the console session's desktop: stopHandle is the decimal value
// of the inherited stop event, mode "secure" for the Winlogon desktop. Returns the capture result, or
// kWardletExitBadStopHandle when the handle cannot be used.
uint32_t RunCaptureWorker(std::u16string_view stopHandle, std::u16string_view mode);

// The hand-run diagnostics: capture in this process and write BMPs, once or until the process is ended.
uint32_t RunCaptureDiagnostic(bool captureOnce);
