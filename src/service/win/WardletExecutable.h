#pragma once

#include <string>

// The folder part of a path, without the trailing backslash; empty when the path has none.
std::wstring FolderOf(const std::wstring& path);
