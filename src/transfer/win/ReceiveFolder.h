#pragma once

#include <cstdint>
#include <string>

// The folder a received transfer goes to (TargetRoot.h decides from the cursor's folder, USERPROFILE and
// the current directory), created with its ancestors. Creation errors are left to the downloads, which
// report them per item.
std::wstring ResolveReceiveFolder(const std::string& targetPathUtf8);

// The bytes free for this user under root, which is created first when missing. A root that cannot be
// asked (a folder that could not be made) is answered for its drive. False, with GetLastError's code, when
// neither answers.
bool CheckDiskSpace(const std::wstring& root, uint64_t& freeBytes, uint32_t& systemError);
