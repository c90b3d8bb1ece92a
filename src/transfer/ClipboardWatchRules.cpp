#include "transfer/ClipboardWatchRules.h"

#include "core/Log.h"

ClipboardContent ChooseClipboardContent(bool hasPaths, bool hasImage, bool hasText) {
    if (hasPaths)
        return ClipboardContent::Files;
    if (hasImage)
        return ClipboardContent::Image;
    if (hasText)
        return ClipboardContent::Text;
    return ClipboardContent::None;
}

ClipboardKind LocalCopyKind(ClipboardContent content, int32_t role) {
    const bool controlled = role == 2;
    switch (content) {
    case ClipboardContent::Files:
        return ClipboardKind::LocalFiles;
    case ClipboardContent::Image:
        return controlled ? ClipboardKind::RemoteImage : ClipboardKind::LocalImage;
    case ClipboardContent::Text:
        return controlled ? ClipboardKind::RemoteText : ClipboardKind::LocalText;
    case ClipboardContent::None:
        break;
    }
    return ClipboardKind::None;
}

bool ClipboardUnchangedSinceCtrlC(uint32_t recordedSequence, uint32_t nowSequence) {
    return recordedSequence != 0 && nowSequence == recordedSequence;
}

FileOfferStep DecideFileOffer(bool cut, bool fileFormat, bool text, bool image, bool havePaths) {
    if (cut)
        return FileOfferStep::IgnoreCut;
    if (!fileFormat) {
        if (text)
            return FileOfferStep::TextNoOffer;
        return image ? FileOfferStep::ImageNoOffer : FileOfferStep::NothingYet;
    }
    return havePaths ? FileOfferStep::Offer : FileOfferStep::UseSelection;
}

bool IsEchoGuarded(uint32_t nowTick, uint32_t deadlineTick) {
    const uint32_t ahead = deadlineTick - nowTick; // wraps with the tick count
    return ahead != 0 && ahead <= kEchoGuardMs;
}

bool ClipboardFormatSizeAllowed(uint64_t bytes) {
    return bytes >= 1 && bytes <= kMaxClipboardFormatBytes;
}

bool ClipboardSendSizeAllowed(uint64_t bytes) {
    return bytes <= kMaxClipboardSendBytes;
}

uint64_t BitmapDibBytes(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return 0;
    return kDibHeaderBytes + static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
}

size_t ClipboardTextUnits(const uint8_t* block, size_t blockBytes) {
    const size_t units = block == nullptr ? 0 : blockBytes / 2;
    for (size_t i = 0; i < units; ++i) {
        if (block[2 * i] == 0 && block[2 * i + 1] == 0)
            return i;
    }
    return units;
}

uint64_t ClipboardTextPayloadBytes(size_t units) {
    return (static_cast<uint64_t>(units) + 1) * 2;
}

std::u16string_view TrimClipboardFileName(std::u16string_view text) {
    const size_t nul = text.find(u'\0');
    if (nul != std::u16string_view::npos)
        text = text.substr(0, nul);
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.size() >= 2) {
        for (const char16_t quote : {u'"', u'\''}) {
            if (text.front() == quote && text.back() == quote) {
                text = text.substr(1, text.size() - 2);
                break;
            }
        }
    }
    return text;
}

bool OfferProbeMayStart(uint32_t nowTick, uint32_t lastStartTick) {
    return nowTick - lastStartTick >= kOfferProbeGapMs;
}

OfferProbeEnd RunOfferProbe(IOfferProbeSteps& steps) {
    OfferProbeEnd end = OfferProbeEnd::RanOut;
    for (int attempt = 0; attempt < kOfferProbeAttempts; ++attempt) {
        if (attempt > 0)
            steps.Sleep(kOfferProbeRetryMs);
        if (!steps.MayContinue()) {
            end = OfferProbeEnd::Stopped;
            break;
        }
        if (steps.BecameTextOrImage()) {
            Log::Write("[CLIPFILE][HOTKEY] offer probe canceled: clipboard became text/image");
            end = OfferProbeEnd::TextOrImage;
            break;
        }
        if (steps.TrySendOffer())
            return OfferProbeEnd::Sent;
    }
    if (end != OfferProbeEnd::Stopped)
        Log::Write("Remote CF_HDROP offer probe timed out/canceled; no file list available");
    return end;
}

uint32_t WaitForChannelConnection(IChannelWait& wait) {
    const uint32_t start = wait.NowTick();
    // The step count bounds the wait even when the clock stands still.
    for (uint32_t step = 0; step < kDropWaitMs / kDropWaitStepMs; ++step) {
        if (!wait.Running() || wait.Connected() || wait.NowTick() - start >= kDropWaitMs)
            break;
        wait.Sleep(kDropWaitStepMs);
    }
    return wait.NowTick() - start;
}
