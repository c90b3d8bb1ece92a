#pragma once

#include <string>

// The full path of Wardlet's own executable (GetModuleFileNameW, with a buffer that grows, so a long path is
// never cut at MAX_PATH); empty when it cannot be read.
std::wstring WardletExecutablePath();
// The folder part of a path, without the trailing backslash; empty when the path has none.
std::wstring FolderOf(const std::wstring& path);
