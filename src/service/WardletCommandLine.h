#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Wardlet.exe is one program with several roles chosen by its first argument: the service itself, the
// commands that install and remove it, the capture worker the service starts, and two hand-run capture
// diagnostics. This file decides everything about the command line that does not need Windows.

enum class WardletVerb { Usage, Service, Install, Stop, Uninstall, Capture, Console, Worker };

// args[0] is the program. Verbs compare case-insensitively; "worker" needs its stop-handle value and mode
// (args[2], args[3]) and is the usage text without them.
WardletVerb ChooseWardletVerb(std::span<const std::u16string_view> args);

// Printed to standard output for an unknown or missing verb (exit code kWardletExitUsage).
extern const char16_t kWardletUsageText[];

// The SCM's image path: the executable in quotes, then the verb that runs the service.
std::u16string WardletServiceImagePath(std::u16string_view executablePath);

// StartServiceW's error as install's exit code: a service that already runs counts as started.
uint32_t InstallStartExitCode(uint32_t startError);

// The worker's stop-event handle value as the service wrote it: unsigned decimal; 0 when the text is not
// such a number or does not fit in 64 bits.
uint64_t ParseStopHandleValue(std::u16string_view text);
// 0 is no handle, and the top values are pseudo-handles (the current process, thread, token ...) that
// GetHandleInformation would accept although the service never passes one.
bool IsPlausibleStopHandleValue(uint64_t value);

// "secure" (any case) runs the worker for the Winlogon desktop and publishes its frames; anything else
// captures the Default desktop.
bool IsWinlogonWorkerMode(std::u16string_view mode);
const char* WorkerModeName(bool winlogonMode);
// The exit code that tells the service the other desktop is the input desktop.
uint32_t WorkerAccessDeniedExitCode(bool winlogonMode);

// The environment variable that turns on the worker's BMP diagnostics, and its test: the value (absent when
// the variable is unset) starts with '1', whatever follows.
inline constexpr char16_t kBmpDiagnosticsVariable[] = u"MARLO_SECURE_PROBE_WRITE_BMP";
bool BmpDiagnosticsRequested(std::optional<std::u16string_view> value);

// BMP files in the data folder: the worker's per mode, and the hand-run diagnostics'.
const char16_t* WorkerBmpName(bool winlogonMode);
inline constexpr char16_t kDiagnosticBmpName[] = u"secure_probe_latest.bmp";
