#include "transfer/win/ClipboardChannel.h"

#include <string>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "core/win/Handles.h"
#include "dragdrop/win/RemoteDragControlled.h"
#include "dragdrop/win/ShellSelection.h"
#include "transfer/ClipboardKind.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardWatchRules.h"
#include "transfer/win/ClipboardReaders.h"
#include "transfer/win/FileTransferService.h"

namespace {

const wchar_t* FirstPath(const std::vector<std::wstring>& paths) {
    return paths.empty() ? L"" : paths.front().c_str();
}

// The Explorer or desktop selection under the cursor: a copy whose clipboard names files without listing
// readable paths yet still offers what the user selected.
std::vector<std::wstring> CursorSelectionPaths() {
    POINT point{};
    ::GetCursorPos(&point);
    std::vector<std::wstring> paths;
    bool ok = false;
    {
        ComApartment com(COINIT_APARTMENTTHREADED);
        if (FAILED(com.Result()) && com.Result() != RPC_E_CHANGED_MODE)
            Log::Write("[CLIPFILE][FALLBACK][ERR] CoInitializeEx failed hr=0x%08lx",
                       static_cast<unsigned long>(com.Result()));
        else
            ok = ShellSelection::GetSelectionAtPoint(point, paths);
    }
    Log::Write("[CLIPFILE][FALLBACK] cursor selection ok=%d count=%u first=%S pt=%d,%d", ok,
               static_cast<unsigned>(paths.size()), FirstPath(paths), static_cast<int>(point.x),
               static_cast<int>(point.y));
    return paths;
}

} // namespace

bool ClipboardChannel::SendOfferClear(const char* reason) {
    const bool ok = SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_FILE_OFFER), 0, 0, 0, 0,
                                kClipboardOfferClearToken.data(),
                                static_cast<uint32_t>(kClipboardOfferClearToken.size()));
    Log::Write("[CLIPFILE][OFFER][CLEAR_SEND] ok=%d reason=%s", ok, reason);
    return ok;
}

std::string ClipboardChannel::OfferHost() const {
    std::string host = GetLocalAddress();
    return host.empty() ? std::string("127.0.0.1") : host;
}

bool ClipboardChannel::SendFileOffer(HWND owner) {
    if (!IsConnected())
        return false;
    const uint32_t startSequence = m_ctrlCSequence.load();
    const DWORD nowSequence = ::GetClipboardSequenceNumber();
    if (ClipboardUnchangedSinceCtrlC(startSequence, nowSequence)) {
        Log::Write(
            "[CLIPFILE][OFFER] clipboard seq unchanged start=%lu now=%lu; wait for real clipboard update",
            static_cast<unsigned long>(startSequence), static_cast<unsigned long>(nowSequence));
        return false;
    }

    ClipboardFormatSet formats;
    bool cut = false;
    std::vector<std::wstring> paths;
    {
        ScopedClipboard clipboard(owner);
        if (!clipboard.IsOpen()) {
            Log::Write("[CLIPFILE][OFFER] OpenClipboard failed gle=%lu", ::GetLastError());
            return false;
        }
        formats = ProbeClipboardFormats();
        cut = ClipboardHoldsCut();
        if (formats.HasFileFormat() && !ReadClipboardHdropPaths(paths, true))
            ReadClipboardFileNamePath(paths);
    }
    Log::Write("[CLIPFILE][OFFER][PROBE] startSeq=%lu nowSeq=%lu fileFmt=%d text=%d image=%d cut=%d paths=%u",
               static_cast<unsigned long>(startSequence), static_cast<unsigned long>(nowSequence),
               formats.HasFileFormat(), formats.HasText(), formats.HasImage(), cut,
               static_cast<unsigned>(paths.size()));

    const FileOfferStep step =
        DecideFileOffer(cut, formats.HasFileFormat(), formats.HasText(), formats.HasImage(), !paths.empty());
    switch (step) {
    case FileOfferStep::IgnoreCut:
        // Only copies are offered: a cut would delete the files here while the peer may never paste them.
        RecordClipboard(ClipboardKind::None, 0, "CF_HDROP cut ignored");
        if (IsConnected())
            SendOfferClear("remote Ctrl+X ignored; clear stale file offer");
        Log::Write("[CLIPFILE][OFFER] ignored Ctrl+X/move clipboard; copy-only policy");
        return false;
    case FileOfferStep::NothingYet:
        Log::Write("[CLIPFILE][OFFER] no file/text/image clipboard format yet");
        return false;
    case FileOfferStep::TextNoOffer:
    case FileOfferStep::ImageNoOffer: {
        const bool text = step == FileOfferStep::TextNoOffer;
        m_textOrImage.store(true);
        RecordClipboard(text ? ClipboardKind::RemoteText : ClipboardKind::RemoteImage, 1,
                        text ? "remote Ctrl+C produced TEXT; no file offer"
                             : "remote Ctrl+C produced IMAGE; no file offer");
        if (IsConnected())
            SendOfferClear(text ? "remote Ctrl+C text; clear stale file offer"
                                : "remote Ctrl+C image; clear stale file offer");
        Log::Write("[CLIPFILE][OFFER] clipboard is text/image; no file offer");
        return false;
    }
    case FileOfferStep::UseSelection:
        // The selection where the copy's drag or click began, when fresh, else the one under the cursor.
        if (ClipboardFileStartCache::Take(paths)) {
            Log::Write("[CLIPFILE][OFFER][START_CACHE] using cached remote selection count=%u first=%S",
                       static_cast<unsigned>(paths.size()), FirstPath(paths));
            break;
        }
        paths = CursorSelectionPaths();
        if (paths.empty()) {
            Log::Write("[CLIPFILE][OFFER] file-like clipboard format found but no readable paths yet");
            return false;
        }
        Log::Write("[CLIPFILE][OFFER][FALLBACK] using cursor selection count=%u first=%S",
                   static_cast<unsigned>(paths.size()), FirstPath(paths));
        break;
    case FileOfferStep::Offer:
        break;
    }

    const auto count = static_cast<unsigned>(paths.size());
    const std::string host = OfferHost();
    uint64_t transferId = 0;
    std::string payload;
    if (!FileTransferService::OfferViaHttp(paths, host, transferId, payload) || payload.empty()) {
        Log::Write("[CLIPFILE][OFFER] prepare failed count=%u host=%s", count, host.c_str());
        return false;
    }
    // The peer empties its clipboard first, so that its Ctrl+V finds no older text or image to paste
    // instead of these files.
    if (IsConnected()) {
        const bool cleared = SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_CLEAR_CLIPBOARD), 0,
                                         0, 0, 0, kClipboardClearRequestReason.data(),
                                         static_cast<uint32_t>(kClipboardClearRequestReason.size()));
        Log::Write("[CLIP][CLEAR_SEND] ok=%d reason=%s", cleared, "peer-local-clipboard-is-file-list");
    }
    const bool sent = SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_FILE_OFFER), transferId, 0,
                                  0, 0, payload.data(), static_cast<uint32_t>(payload.size()));
    RecordClipboard(ClipboardKind::LocalFiles, static_cast<int32_t>(count),
                    sent ? "LOCAL_FILES offer sent" : "LOCAL_FILES offer failed");
    Log::Write("[CLIPFILE][OFFER] id=%llu count=%u bytes=%u ok=%d first=%S",
               static_cast<unsigned long long>(transferId), count, static_cast<unsigned>(payload.size()),
               sent, FirstPath(paths));
    return sent;
}

void ClipboardChannel::OnInjectedCtrlC() {
    m_ctrlCSequence.store(::GetClipboardSequenceNumber());
    m_textOrImage.store(false);
    if (!IsConnected())
        return;
    const uint32_t now = ::GetTickCount();
    if (!OfferProbeMayStart(now, m_probeStartTick.load()))
        return;
    bool idle = false;
    if (!m_probeRunning.compare_exchange_strong(idle, true))
        return;
    m_probeStartTick.store(now);
    std::string error;
    if (!StartDetachedWorker(
            "ClipboardOfferProbe", [this] { OfferProbeThread(); }, &error)) {
        m_probeRunning.store(false);
        Log::Write("[CLIPFILE][HOTKEY] offer probe thread create failed: %s", error.c_str());
    }
}

void ClipboardChannel::OfferProbeThread() {
    // The probe's steps on this channel; a local class of a member function shares its access.
    class Steps final : public IOfferProbeSteps {
    public:
        explicit Steps(ClipboardChannel& channel) : m_channel(channel) {}
        bool MayContinue() override {
            return m_channel.IsRunning() && RuntimeGetRole() == static_cast<int32_t>(RuntimeRole::Controlled);
        }
        bool BecameTextOrImage() override { return m_channel.m_textOrImage.load(); }
        bool TrySendOffer() override { return m_channel.SendFileOffer(nullptr); }
        void Sleep(uint32_t ms) override { ::Sleep(ms); }

    private:
        ClipboardChannel& m_channel;
    };

    // Cleared on every way out, a throw included, so that the next Ctrl+C can probe again.
    struct ProbeRunning {
        std::atomic<bool>& flag;
        ~ProbeRunning() { flag.store(false); }
    } running{m_probeRunning};
    Steps steps(*this);
    ::RunOfferProbe(steps);
}
