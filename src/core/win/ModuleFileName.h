#pragma once

#include <string>

// The full path of this process's executable. Read with a growing buffer, since GetModuleFileNameW cuts a
// path longer than its buffer without failing; empty (GetLastError set) when it cannot be read.
std::wstring OwnExecutablePath();
