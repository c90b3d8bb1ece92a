#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "core/CommandBus.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/Utf.h"
#include "core/win/Handles.h"
#include "dragdrop/RemoteDragOffer.h"
#include "transfer/ClipboardReceiveRules.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/FileTransferUi.h"
#include "transfer/win/ClipboardChannel.h"

// The handlers of received messages. All run on the channel thread; the cached offer is touched only under
// the offer mutex, which is released before anything is logged, recorded or sent.
namespace {

constexpr uint32_t kEchoGuardMs = 1000;
// A reason or text from the peer is cut to this many bytes in a log line.
constexpr size_t kLoggedTextMax = 200;

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

std::string_view PayloadView(const ClipboardMessage& message) {
    return std::string_view(reinterpret_cast<const char*>(message.payload.data()), message.payload.size());
}

std::string Logged(std::string_view text) {
    return std::string(CutUtf8(text, kLoggedTextMax));
}

int32_t ToCount(uint64_t value) {
    return value > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(value);
}

struct ImageFormat {
    UINT format;
    const char* name;
};

ImageFormat ReceivedImageFormat(uint32_t c) {
    if (c == static_cast<uint32_t>(ClipboardImageFormat::DibV5))
        return {CF_DIBV5, "CF_DIBV5"};
    if (c == static_cast<uint32_t>(ClipboardImageFormat::Png)) {
        const UINT png = ::RegisterClipboardFormatW(L"PNG");
        return {png != 0 ? png : CF_DIB, "PNG"};
    }
    return {CF_DIB, "CF_DIB"};
}

} // namespace

void ClipboardChannel::StatusLine(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Log::Write("Clipboard progress: %s", line);
    RuntimeSetStatusMessageAndRepaint(line);
}

void ClipboardChannel::ArmEchoGuard() {
    m_echoGuardDeadline.store(::GetTickCount() + kEchoGuardMs);
}

void ClipboardChannel::ClearRemoteOffer(const char* reason) {
    uint64_t oldId = 0;
    int32_t oldCount = 0;
    {
        std::lock_guard<std::mutex> lock(m_offerMutex);
        oldId = std::exchange(m_offerId, 0);
        oldCount = std::exchange(m_offerCount, 0);
        m_offerPayload.clear();
    }
    Log::Write("[CLIPFILE][REMOTE_OFFER][CLEAR] oldId=%llu oldCount=%d reason=%s", U64(oldId), oldCount,
               reason);
    RecordClipboard(ClipboardKind::None, 0, reason);
}

void ClipboardChannel::OnText(const ClipboardMessage& message) {
    const size_t bytes = message.payload.size();
    if (bytes == 0)
        return;
    ClearRemoteOffer("TEXT received; remote file offer invalidated");
    ArmEchoGuard();
    const char* failed = nullptr;
    DWORD gle = 0;
    {
        ScopedClipboard clipboard(nullptr);
        if (!clipboard.IsOpen()) {
            failed = "OpenClipboard";
            gle = ::GetLastError();
        } else {
            ::EmptyClipboard();
            // Zero-filled beyond the payload: whatever the peer sent, the text ends in a NUL on a whole
            // character.
            UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, ReceivedTextBlockBytes(bytes)));
            if (!memory) {
                failed = "GlobalAlloc";
                gle = ::GetLastError();
            } else {
                {
                    ScopedGlobalLock locked(memory.Get());
                    if (locked.Get() != nullptr)
                        std::memcpy(locked.Get(), message.payload.data(), bytes);
                    else
                        failed = "GlobalLock";
                }
                if (failed != nullptr)
                    gle = ::GetLastError();
                else if (::SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) {
                    failed = "SetClipboardData";
                    gle = ::GetLastError();
                } else {
                    memory.Release(); // the clipboard owns it now
                }
            }
        }
    }
    if (failed != nullptr) {
        Log::Write("[CLIP][TEXT][RECV][FAIL] %s failed bytes=%zu gle=%lu", failed, bytes, gle);
        return;
    }
    RecordClipboard(ReceivedTextKind(RuntimeGetRole()), 1, "TEXT received");
    StatusLine("Clipboard text received");
    Log::Write("Clipboard received text bytes=%zu", bytes);
}

void ClipboardChannel::OnImage(const ClipboardMessage& message) {
    const size_t bytes = message.payload.size();
    if (bytes == 0)
        return;
    ClearRemoteOffer("IMAGE received; remote file offer invalidated");
    ArmEchoGuard();
    const ImageFormat format = ReceivedImageFormat(message.header.c);
    {
        ScopedClipboard clipboard(nullptr);
        if (!clipboard.IsOpen()) {
            Log::Write("[CLIP][IMAGE][RECV][FAIL] OpenClipboard failed type=%s bytes=%llu gle=%lu",
                       format.name, U64(bytes), ::GetLastError());
            return;
        }
        ::EmptyClipboard();
        UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
        if (!memory) {
            Log::Write("[CLIP][IMAGE][RECV][FAIL] GlobalAlloc bytes=%llu gle=%lu", U64(bytes),
                       ::GetLastError());
            return;
        }
        {
            ScopedGlobalLock locked(memory.Get());
            if (locked.Get() == nullptr) {
                Log::Write("[CLIP][IMAGE][RECV][FAIL] GlobalLock bytes=%llu gle=%lu", U64(bytes),
                           ::GetLastError());
                return;
            }
            std::memcpy(locked.Get(), message.payload.data(), bytes);
        }
        if (::SetClipboardData(format.format, memory.Get()) == nullptr) {
            Log::Write("[CLIP][IMAGE][RECV][FAIL] SetClipboardData fmt=%u type=%s bytes=%llu gle=%lu",
                       format.format, format.name, U64(bytes), ::GetLastError());
            return;
        }
        memory.Release(); // the clipboard owns it now
    }
    RecordClipboard(ReceivedImageKind(RuntimeGetRole()), 1, "IMAGE received");
    StatusLine("Clipboard image received");
    Log::Write("[CLIP][IMAGE][RECV] type=%s bytes=%llu", format.name, U64(bytes));
}

void ClipboardChannel::OnFileOffer(const ClipboardMessage& message) {
    const std::string_view payload = PayloadView(message);
    const uint64_t id = message.header.id;
    switch (DecideRemoteOffer(id, payload)) {
    case RemoteOfferAction::DropOversized:
        Log::Write("[CLIPFILE][REMOTE_OFFER] dropped id=%llu payload=%zu max=%u: too large", U64(id),
                   payload.size(), kClipboardMaxBeginPayload);
        return;
    case RemoteOfferAction::ClearByToken:
        ClearRemoteOffer("peer Ctrl+C cleared stale file offer");
        return;
    case RemoteOfferAction::ClearInvalid:
        ClearRemoteOffer("peer sent empty file offer");
        Log::Write("[CLIPFILE][REMOTE_OFFER] empty/invalid payload id=%llu", U64(id));
        return;
    case RemoteOfferAction::Cache:
        break;
    }
    const int32_t count = ToCount(ReadPayloadNumber(payload, "itemCount"));
    uint64_t oldId = 0;
    int32_t oldCount = 0;
    {
        std::lock_guard<std::mutex> lock(m_offerMutex);
        oldId = std::exchange(m_offerId, id);
        oldCount = std::exchange(m_offerCount, count);
        m_offerPayload.assign(payload.begin(), payload.end());
    }
    RecordClipboard(ClipboardKind::RemoteFiles, count, "REMOTE_FILES offer cached; press Ctrl+V to paste");
    if (oldId != 0 && oldId != id)
        Log::Write(
            "[CLIPFILE][REMOTE_OFFER][REPLACE] oldId=%llu oldCount=%d newId=%llu newCount=%d payload=%u",
            U64(oldId), oldCount, U64(id), count, message.header.payloadBytes);
    Log::Write("[CLIPFILE][REMOTE_OFFER] cached id=%llu count=%d payload=%u", U64(id), count,
               message.header.payloadBytes);
}

void ClipboardChannel::OnClearRequest(const ClipboardMessage& message) {
    const std::string reason = Logged(PayloadView(message));
    ArmEchoGuard();
    bool ok = false;
    DWORD gle = 0;
    {
        ScopedClipboard clipboard(nullptr);
        if (!clipboard.IsOpen())
            gle = ::GetLastError();
        else if (!::EmptyClipboard())
            gle = ::GetLastError();
        else
            ok = true;
    }
    ClearRemoteOffer("peer cleared local clipboard before file offer");
    RecordClipboard(ClipboardKind::None, 0, "LOCAL clipboard cleared by peer file-list offer");
    Log::Write("[CLIP][CLEAR_RECV] ok=%d gle=%lu reason=%s", ok ? 1 : 0, gle, reason.c_str());
}

void ClipboardChannel::OnHttpBegin(const ClipboardMessage& message) {
    const std::string_view payload = PayloadView(message);
    switch (DecideHttpBegin(payload)) {
    case HttpBeginAction::IgnoreEmpty:
        Log::Write("HTTP file begin ignored: empty payload");
        return;
    case HttpBeginAction::DropOversized:
        Log::Write("HTTP file begin dropped id=%llu payload=%zu max=%u: too large", U64(message.header.id),
                   payload.size(), kClipboardMaxBeginPayload);
        return;
    case HttpBeginAction::Publish:
        break;
    }
    CommandMessage command;
    command.type = kCommandFileHttpBegin;
    command.name = CommandTypeName(kCommandFileHttpBegin);
    command.SetPayloadText(payload);
    CommandBus::Instance().Publish(std::move(command));
    StatusLine("HTTP file transfer begin received");
    Log::Write("HTTP file begin command received payload=%u", message.header.payloadBytes);
}

void ClipboardChannel::OnTransferStatus(const ClipboardMessage& message) {
    const ClipboardMessageHeader& h = message.header;
    const TransferStatusDecision d =
        DecideTransferStatus(h.c, PayloadView(message), ConfigService::Instance().IsUiLanguageEnglish());
    const std::u16string text = Utf8ToUtf16(d.text);
    FileTransferUi& ui = FileTransferUi::Instance();
    switch (d.action) {
    case TransferStatusAction::Progress:
        ui.UpdateProgress(h.id, text, h.b, h.a, d.currentDoneBytes, d.currentTotalBytes);
        ui.SetItemProgress(h.id, d.currentIndex, d.itemCount);
        StatusLine("Remote file transfer progress total=%llu/%llu file=%u/%u current=%llu/%llu", U64(h.b),
                   U64(h.a), d.currentIndex, d.itemCount, U64(d.currentDoneBytes), U64(d.currentTotalBytes));
        return;
    case TransferStatusAction::Fail:
        ui.Fail(h.id, text);
        StatusLine("Remote file transfer failed");
        Log::Write("Clipboard transfer error received id=%llu text=%s", U64(h.id), Logged(d.text).c_str());
        return;
    case TransferStatusAction::Cancel:
        ui.Cancel(h.id, text);
        StatusLine("Remote canceled file transfer");
        Log::Write("Clipboard transfer cancel received id=%llu text=%s", U64(h.id), Logged(d.text).c_str());
        return;
    case TransferStatusAction::Complete:
        ui.Complete(h.id, text);
        StatusLine("Remote file transfer complete");
        Log::Write("Clipboard transfer ack received id=%llu text=%s flags=%u", U64(h.id),
                   Logged(d.text).c_str(), h.c);
        return;
    }
}

void ClipboardChannel::OnPeerCancel(const ClipboardMessage& message) {
    const uint64_t id = message.header.id;
    FileTransferUi::Instance().Cancel(id, Utf8ToUtf16(kTransferPeerCanceledText));
    StatusLine("Remote canceled file transfer");
    CloseSockets();
    Log::Write("Clipboard transfer canceled by peer id=%llu", U64(id));
}

void ClipboardChannel::OnDragPayload(const ClipboardMessage& message) {
    StallScope scope("DragDrop", "HandleRemotePayload", 100);
    RemoteDragOffer().OnReceive(PayloadView(message));
}
