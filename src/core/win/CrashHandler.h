#pragma once

namespace CrashHandler {
// Installs the unhandled-exception filter and the terminate handler, saving the previous ones.
void Install();
// Puts the previous filter and, when there was one, the previous terminate handler back.
void Restore();
const char* ExceptionName(unsigned long code);
} // namespace CrashHandler
