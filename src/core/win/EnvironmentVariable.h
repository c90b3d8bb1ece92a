#pragma once

#include <optional>
#include <string>

// The value of a variable in this process's environment, read whole; nullopt while it is unset.
std::optional<std::wstring> EnvironmentValue(const wchar_t* name);
