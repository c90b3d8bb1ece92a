// Control protocol readers over arbitrary bytes:
// - every key of the protocol: a found value lies inside the text and holds no ";"; numbers stay in
//   0..1,000,000,000, even readers give even numbers, a plain run of up to nine digits reads as itself;
// - the received control request: sizes even and at most 8192, fps 0 or 10..30, bit rate 0 or
//   2,000,000..25,000,000, flags 0 or 1, ULTRA and its sequence only with the capability;
// - the discovery record: bounded texts, ip from the source;
// - the builder with the bytes as the computer name: at most 511 bytes, starting with its verb.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/ControlMessage.h"
#include "link/ControlMessageRead.h"
#include "link/ControlRequestParams.h"
#include "link/LocalIdentity.h"
#include "link/PeerRecord.h"

#include "FuzzChecks.h"

namespace {

using namespace Discovery;

const char* const kKeys[] = {
    "id",       "name",      "ver",         "req_w",       "req_h",  "req_fps", "req_bitrate", "view_hidden",
    "view_seq", "req_audio", "req_quality", "quality_seq", "hidden", "quality", "locked",      "verb",
    "accepted", "cap_uq",    "hw",          "video_state", "reason", "end"};

bool IsPlainDigits(std::string_view value) {
    if (value.empty() || value.size() > 9)
        return false;
    for (char c : value)
        if (c < '0' || c > '9')
            return false;
    return true;
}

void FuzzReaders(std::string_view text) {
    for (const char* key : kKeys) {
        std::optional<std::string_view> value = FindMessageValue(text, key);
        if (value) {
            FuzzCheck(value->data() >= text.data() && value->data() + value->size() <= text.data() + text.size(),
                  "value outside the text");
            FuzzCheck(value->find(';') == std::string_view::npos, "value holds a separator");
        }
        FuzzCheck(GetMessageValue(text, key) == value.value_or(std::string_view()), "get and find differ");
        uint32_t number = ReadMessageNumber(text, key);
        FuzzCheck(number <= kMessageNumberMax, "number above the limit");
        FuzzCheck(ReadMessageEvenNumber(text, key) % 2 == 0, "even number is odd");
        if (value && IsPlainDigits(*value))
            FuzzCheck(number == std::strtoul(std::string(*value).c_str(), nullptr, 10), "digits misread");
        FuzzCheck(ReadMessageFlag(text, key) == (GetMessageValue(text, key) == "1"), "flag not exactly 1");
    }
    AckConfirmsVisibility(text, 1);
    AckConfirmsQuality(text, 1, true);
}

void FuzzRequest(std::string_view text) {
    for (bool localAudio : {false, true}) {
        ControlRequestParams r = ReadControlRequestParams(text, "10.0.0.2", localAudio);
        CheckRequestWithinSenderRules(r);
        FuzzCheck(r.viewSeq <= kMessageNumberMax && r.qualitySeq <= kMessageNumberMax,
              "sequence above the limit");
        bool capability = PeerHasUltraCapability(text);
        FuzzCheck(capability || (r.quality == 0 && r.qualitySeq == 0), "ULTRA without the capability");
    }
}

void FuzzRecord(std::string_view text) {
    PeerRecord r = PeerRecordFromDiscovery(text, "10.1.2.3", 5);
    FuzzCheck(r.ip == "10.1.2.3", "ip not from the source");
    FuzzCheck(r.id.size() <= kPeerTextMaxBytes && r.name.size() <= kPeerTextMaxBytes &&
              r.ver.size() <= kPeerTextMaxBytes,
          "peer text not bounded");
    FuzzCheck(r.ultra == (PeerHasUltraCapability(text) ? 1u : 0u), "ultra not by the capability rule");
}

void FuzzBuilder(std::string_view name) {
    LocalIdentity pc = MakeLocalIdentity(name);
    FuzzCheck(pc.name.size() <= kComputerNameMaxBytes, "name not bounded");
    ControlRequestParams request{8192, 8192, 30, 25000000, 1, 4294967295u, 1, 1, 4294967295u};
    for (const std::string& text : {BuildControlRequestMessage(pc, request, ControlTransport::Tcp),
                                    BuildDiscoverMessage(pc), BuildVideoQualityMessage(pc, true, 1)}) {
        FuzzCheck(text.size() < kControlMessageCapacity, "message over 511 bytes");
        FuzzCheck(text.rfind("TSLY_", 0) == 0, "verb lost");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    FuzzReaders(text);
    FuzzRequest(text);
    FuzzRecord(text);
    FuzzBuilder(text);
    return 0;
}
