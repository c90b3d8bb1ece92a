#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "transfer/ClipboardKind.h"

// The decisions of the local clipboard watch, the Ctrl+C file offer and the dropped-file send: what a
// clipboard update sends, how the runtime record names it, how large a clipboard read may be, when a
// received clipboard write still guards against its echo, and the two bounded waits (the offer probe and
// the wait of a dropped-file send for the channel).

// What a local clipboard update sends: files win over images, images over text.
enum class ClipboardContent { None, Files, Image, Text };
ClipboardContent ChooseClipboardContent(bool hasPaths, bool hasImage, bool hasText);

// The record kind of a local copy. A copy on the controlled PC (role 2) is content of the controlled PC,
// so text and images there are REMOTE; files copied are always LOCAL_FILES, the offer this PC makes.
ClipboardKind LocalCopyKind(ClipboardContent content, int32_t role);

// A Ctrl+C file offer. The copying program puts its data on the clipboard some time after the key: while
// the sequence number recorded at the Ctrl+C (0 = none) is still the clipboard's, there is nothing to read.
bool ClipboardUnchangedSinceCtrlC(uint32_t recordedSequence, uint32_t nowSequence);

enum class FileOfferStep {
    IgnoreCut,    // only copies are offered: the peer forgets any older offer
    TextNoOffer,  // the copy was text: no offer, the peer forgets any older one
    ImageNoOffer, // the same for an image
    NothingYet,   // no file, text or image format yet
    UseSelection, // a file format without readable paths: the shell selection under the cursor
    Offer,        // offer the paths read
};
FileOfferStep DecideFileOffer(bool cut, bool fileFormat, bool text, bool image, bool havePaths);

// A received clipboard write sets the deadline now + kEchoGuardMs; the local update it causes arrives
// before the deadline and must not be sent back. Only a deadline at most kEchoGuardMs ahead guards: the
// tick count wraps every 49.7 days, and a plain signed difference would make an old deadline (or the
// initial 0) look ahead again for half of that time and silence the watch.
inline constexpr uint32_t kEchoGuardMs = 1000;
bool IsEchoGuarded(uint32_t nowTick, uint32_t deadlineTick);

// A clipboard format's data is read only when its block holds 1 to 64 MiB.
inline constexpr uint64_t kMaxClipboardFormatBytes = 67108864;
bool ClipboardFormatSizeAllowed(uint64_t bytes);
// The peer drops a connection whose message carries more than 16 MiB, so larger text and images are not
// sent at all.
inline constexpr uint64_t kMaxClipboardSendBytes = 16777216;
bool ClipboardSendSizeAllowed(uint64_t bytes);

// Size of a CF_BITMAP as a top-down 32-bit DIB: the 40-byte header and width x height x 4 bytes of pixels,
// in 64 bits so that no product of two positive int32 values wraps. Read only when the result is allowed
// by ClipboardFormatSizeAllowed: 4096 x 4096 (67,108,904 bytes) is refused, 4096 x 4095 read.
inline constexpr uint64_t kDibHeaderBytes = 40;
uint64_t BitmapDibBytes(int32_t width, int32_t height);

// The number of UTF-16 units of a CF_UNICODETEXT block before its first NUL, searched only within the
// block's bytes: the clipboard owner's block need not hold a terminator, and a read past it would leave
// the block. A block without NUL counts whole (an odd last byte is no unit).
size_t ClipboardTextUnits(const uint8_t* block, size_t blockBytes);
// Bytes of a CB_TEXT payload for that many units: the text and one terminating NUL.
uint64_t ClipboardTextPayloadBytes(size_t units);

// The path of a "FileNameW" text: the units up to the first NUL, trimmed of spaces, tabs, carriage returns
// and line feeds at both ends, then stripped of one enclosing pair of double quotes (or else single quotes)
// when at least two units long.
std::u16string_view TrimClipboardFileName(std::u16string_view text);

// The injected Ctrl+C's offer probe: at most one at a time and at least kOfferProbeGapMs after the
// previous start, then up to kOfferProbeAttempts offers kOfferProbeRetryMs apart, because the copying
// program puts its data on the clipboard some time after the key.
inline constexpr uint32_t kOfferProbeGapMs = 120;
inline constexpr int kOfferProbeAttempts = 20;
inline constexpr uint32_t kOfferProbeRetryMs = 80;
bool OfferProbeMayStart(uint32_t nowTick, uint32_t lastStartTick);

class IOfferProbeSteps {
public:
    virtual ~IOfferProbeSteps() = default;
    // The channel runs and this PC is still the controlled side.
    virtual bool MayContinue() = 0;
    // The clipboard update after the Ctrl+C held text or an image: nothing to offer.
    virtual bool BecameTextOrImage() = 0;
    virtual bool TrySendOffer() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

enum class OfferProbeEnd { Sent, Stopped, TextOrImage, RanOut };
// Runs the attempts and logs how a probe without an offer ended.
OfferProbeEnd RunOfferProbe(IOfferProbeSteps& steps);

// A dropped-file send waits for the channel's connection in kDropWaitStepMs steps, at most kDropWaitMs
// from its start, and gives up at once when the channel stops.
inline constexpr uint32_t kDropWaitMs = 60000;
inline constexpr uint32_t kDropWaitStepMs = 100;

class IChannelWait {
public:
    virtual ~IChannelWait() = default;
    virtual bool Running() = 0;
    virtual bool Connected() = 0;
    virtual uint32_t NowTick() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// The milliseconds waited.
uint32_t WaitForChannelConnection(IChannelWait& wait);
