#pragma once

#include <string>

// DataFolderFile (WardletSupport.h) without logging a refusal, for the log itself: its fallback path must
// not log through the path it is finding.
std::wstring QuietDataFolderFile(const wchar_t* name);
