#include "core/win/SystemMessageText.h"

#include <windows.h>

#include <memory>

#include "core/LineEnds.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"

std::string SystemMessageText(uint32_t messageId) {
    wchar_t* raw = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        messageId, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> text(raw);
    if (length == 0 || !text)
        return {};
    return std::string(TrimTrailingLineEnds(WideToUtf8(text.get())));
}
