#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/win/Handles.h"

// Wardlet's data folder %ProgramData%\Marlo and the few files and objects its parts share.

// The full path of a file in the data folder, creating the folder when needed; empty when the folder cannot
// be used (a failure is logged).
std::wstring DataFolderFile(const wchar_t* name);

// Windows' boot id from the registry; 0 when it cannot be read.
uint32_t ReadWindowsBootId();

// Persists the exit-policy marker (the user closed the visible Tessaly); true when it was written.
bool SaveExitPolicyMarker();
// Reads the marker once at service start: true when the visible user host stays suppressed (same boot).
bool LoadExitPolicyMarker();

// An event the service owns that programs in the user's session may signal, created with the matching
// security descriptor (default security when the descriptor cannot be built). Null on failure, with
// GetLastError set.
UniqueHandle CreateServiceEvent(const char16_t* name, const char16_t* sddl, bool manualReset);

// The system's text for a Win32 error or HRESULT, without trailing line ends; empty when there is none.
std::string ErrorText(uint32_t messageId);

// Writes 32-bit top-down pixels as a BMP file in the data folder, through a temporary file; true on success.
bool WriteBmpFile(const wchar_t* name, const uint8_t* pixels, int32_t width, int32_t height, int32_t stride);
