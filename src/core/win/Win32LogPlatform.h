#pragma once

#include <string>

#include "core/LogPlatform.h"

// The log platform of the Windows build: "Tessaly.log" beside the executable. Never destroyed.
ILogPlatform& Win32LogPlatform();
// Where that log file is: beside the executable, or the bare file name when the module path cannot be read.
std::wstring Win32LogFilePath();
