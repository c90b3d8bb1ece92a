#include "transfer/win/ClipboardChannel.h"

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/win/Handles.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardWatchRules.h"
#include "transfer/win/ClipboardReaders.h"

namespace {

// The largest number of formats the emptiness check counts: a clipboard with any format is not empty.
constexpr unsigned kMaxCountedFormats = 128;

ClipboardImageFormat WireImageFormat(ClipboardImageSource source) {
    switch (source) {
    case ClipboardImageSource::DibV5:
        return ClipboardImageFormat::DibV5;
    case ClipboardImageSource::Png:
        return ClipboardImageFormat::Png;
    case ClipboardImageSource::Dib:
    case ClipboardImageSource::Bitmap:
        break;
    }
    return ClipboardImageFormat::Dib;
}

const char* ImageTypeName(ClipboardImageFormat format) {
    switch (format) {
    case ClipboardImageFormat::DibV5:
        return "CF_DIBV5";
    case ClipboardImageFormat::Png:
        return "PNG";
    case ClipboardImageFormat::Dib:
        break;
    }
    return "CF_DIB";
}

} // namespace

void ClipboardChannel::RecordClipboard(ClipboardKind kind, int32_t count, const char* reason) {
    RuntimeSetClipboardItemCount(static_cast<uint32_t>(kind), count, reason);
}

void ClipboardChannel::OnLocalClipboardUpdate(HWND owner) {
    StallScope stall("Clipboard", "OnLocalClipboardUpdate", 100);
    if (IsEchoGuarded(::GetTickCount(), m_echoGuardDeadline.load())) {
        Log::Write("Clipboard local update ignored to prevent echo");
        return;
    }
    ClipboardFormatSet formats;
    std::vector<std::wstring> paths;
    bool connected = false;
    {
        ScopedClipboard clipboard(owner);
        if (!clipboard.IsOpen())
            return;
        formats = ProbeClipboardFormats();
        connected = IsConnected();
        if (!formats.hdrop || !ReadClipboardHdropPaths(paths, false))
            ReadClipboardFileNamePath(paths);
    }
    Log::Write("[CLIP][PROBE] files=%d dib=%d dibv5=%d bitmap=%d png=%d text=%d connected=%d", formats.hdrop,
               formats.dib, formats.dibv5, formats.bitmap, formats.png, formats.unicodeText, connected);

    const ClipboardContent content =
        ChooseClipboardContent(!paths.empty(), formats.HasImage(), formats.unicodeText);
    if (content == ClipboardContent::None)
        return;
    if (content == ClipboardContent::Files) {
        const auto count = static_cast<unsigned>(paths.size());
        ClearRemoteOffer("local file-list clipboard overrides peer offer");
        if (!connected) {
            RecordClipboard(ClipboardKind::LocalFiles, static_cast<int32_t>(count),
                            "LOCAL_FILES copied; waiting for clipboard channel");
            Log::Write("Clipboard CF_HDROP detected count=%u, channel not connected", count);
            return;
        }
        StallScope files("Clipboard", "TrySendClipboardFiles", 200);
        if (SendFileOffer(owner))
            Log::Write("Clipboard CF_HDROP offer sent for Ctrl+C file paste");
        return;
    }

    // A text or an image replaces whatever file offer either side still holds.
    const bool image = content == ClipboardContent::Image;
    m_textOrImage.store(true);
    ClearRemoteOffer(image ? "local image clipboard overrides peer file offer"
                           : "local text clipboard overrides peer file offer");
    if (connected)
        SendOfferClear(image ? "local image copied; clear peer stale file offer"
                             : "local text copied; clear peer stale file offer");
    RecordClipboard(LocalCopyKind(content, RuntimeGetRole()), 1, image ? "IMAGE copied" : "TEXT copied");
    if (!connected)
        return;
    if (image)
        TrySendClipboardImage(owner);
    else
        TrySendClipboardText(owner);
}

void ClipboardChannel::TrySendClipboardText(HWND owner) {
    StallScope stall("Clipboard", "TrySendClipboardText", 100);
    std::u16string text;
    uint64_t bytes = 0;
    ClipboardTextRead read = ClipboardTextRead::Unavailable;
    {
        ScopedClipboard clipboard(owner);
        if (!clipboard.IsOpen())
            return;
        read = ReadClipboardText(text, bytes);
    }
    if (read == ClipboardTextRead::Unavailable)
        return;
    if (read == ClipboardTextRead::TooLarge) {
        Log::Write("[CLIP][TEXT][SEND][FAIL] payload too large bytes=%llu",
                   static_cast<unsigned long long>(bytes));
        return;
    }
    const uint64_t id = m_messageCounter.fetch_add(1);
    // c_str() ends with the terminator the payload carries.
    if (!SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_TEXT), id, bytes, 0, 0, text.c_str(),
                     static_cast<uint32_t>(bytes))) {
        Log::Write("[CLIP][TEXT][SEND][FAIL] socket send failed bytes=%llu",
                   static_cast<unsigned long long>(bytes));
        return;
    }
    Log::Write("Clipboard sent CF_UNICODETEXT bytes=%zu", static_cast<size_t>(bytes));
    StatusLine("Clipboard text sent");
}

void ClipboardChannel::TrySendClipboardImage(HWND owner) {
    StallScope stall("Clipboard", "TrySendClipboardImage", 200);
    std::vector<uint8_t> bytes;
    ClipboardImageSource source = ClipboardImageSource::Dib;
    bool read = false;
    {
        ScopedClipboard clipboard(owner);
        if (!clipboard.IsOpen()) {
            Log::Write("[CLIP][IMAGE][SEND] OpenClipboard failed gle=%lu", ::GetLastError());
            return;
        }
        const ClipboardFormatSet formats = ProbeClipboardFormats();
        Log::Write("[CLIP][IMAGE][SEND][FORMATS] dib=%d dibv5=%d bitmap=%d png=%d", formats.dib,
                   formats.dibv5, formats.bitmap, formats.png);
        read = ReadClipboardImage(formats, bytes, source);
    }
    if (!read) {
        Log::Write("[CLIP][IMAGE][SEND][FAIL] no supported readable image payload");
        return;
    }
    const auto size = static_cast<unsigned long long>(bytes.size());
    if (!ClipboardSendSizeAllowed(bytes.size())) {
        Log::Write("[CLIP][IMAGE][SEND][FAIL] payload too large bytes=%llu", size);
        return;
    }
    const ClipboardImageFormat format = WireImageFormat(source);
    const uint64_t id = m_messageCounter.fetch_add(1);
    if (!SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_IMAGE), id, bytes.size(), 0,
                     static_cast<uint32_t>(format), bytes.data(), static_cast<uint32_t>(bytes.size()))) {
        Log::Write("[CLIP][IMAGE][SEND][FAIL] socket send failed type=%s bytes=%llu", ImageTypeName(format),
                   size);
        return;
    }
    Log::Write("[CLIP][IMAGE][SEND] type=%s bytes=%llu", ImageTypeName(format), size);
    StatusLine("Clipboard image sent");
}

bool ClipboardChannel::IsLocalClipboardEmpty() {
    unsigned count = 0;
    DWORD enumError = ERROR_SUCCESS;
    ClipboardFormatSet formats;
    {
        ScopedClipboard clipboard(nullptr);
        if (!clipboard.IsOpen()) {
            Log::Write("[CLIPFILE][LOCAL_CLIP] empty=0 reason=open-failed gle=%lu", ::GetLastError());
            return false;
        }
        UINT format = 0;
        ::SetLastError(ERROR_SUCCESS);
        while (count < kMaxCountedFormats && (format = ::EnumClipboardFormats(format)) != 0)
            ++count;
        if (format == 0)
            enumError = ::GetLastError();
        formats = ProbeClipboardFormats();
    }
    Log::Write("[CLIPFILE][LOCAL_CLIP] empty=%d formats=%u files=%d text=%d image=%d enumErr=%lu", count == 0,
               count, formats.HasFileFormat(), formats.HasText(), formats.HasImage(), enumError);
    return count == 0;
}
