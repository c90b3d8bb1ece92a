#pragma once

#include "core/LogPlatform.h"

// The log platform of the Windows build: "Tessaly.log" beside the executable. Never destroyed.
ILogPlatform& Win32LogPlatform();
