#include "core/BuildInfo.h"

namespace BuildInfo {
const char* CompileDate() { return __DATE__; }
const char* CompileTime() { return __TIME__; }
} // namespace BuildInfo
