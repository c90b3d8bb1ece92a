#pragma once

namespace BuildInfo {
inline constexpr const char* kVersion = "20260827.3";
inline constexpr const char* kFlavor = "StallWatchdogDiagnostic";
inline constexpr const char* kArch = "x64";
// Compile date and time of this build, as the compiler's __DATE__ and __TIME__.
const char* CompileDate();
const char* CompileTime();
} // namespace BuildInfo
