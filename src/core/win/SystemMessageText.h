#pragma once

#include <cstdint>
#include <string>

// The system's UTF-8 text for a Win32 error or HRESULT, without its trailing line ends; empty when the
// system has none.
std::string SystemMessageText(uint32_t messageId);
