// Input packets as a peer may shape them (the 24 wire bytes), on a virtual desktop of any shape, into the
// injector over a recording desktop, with the cable present or not. Checked after every packet: nothing
// crashes, an absolute move stays within 0..65535, the cable's wheel point within 0..4096, and at most
// two keyboard events (a lock-key tap) go into one SendInput call.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../input/FakeInjectionPlatform.h"
#include "input/InjectionHid.h"
#include "input/PacketInjector.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FuzzInputInjection: %s\n", what);
        std::abort();
    }
}

class CheckingHid final : public IInjectionHid {
public:
    int ProbePresent() override { return present ? 1 : -1; }
    int SetSystemKey() override { return 1; }
    int SendWheel(int32_t x, int32_t y, int32_t) override {
        Check(x >= 0 && x <= kHidAbsoluteMax && y >= 0 && y <= kHidAbsoluteMax,
              "cable wheel point out of range");
        return 1;
    }
    bool present = false;
};

int32_t ReadI32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return static_cast<int32_t>(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 17)
        return 0;
    static CheckingHid hid;
    SetInjectionHid(&hid);

    FakeInjectionPlatform platform;
    platform.desktop = {ReadI32(data), ReadI32(data + 4), ReadI32(data + 8), ReadI32(data + 12)};
    const uint8_t mode = data[16];
    hid.present = (mode & 1) != 0;
    platform.sendInputToggles = (mode & 2) != 0;
    platform.failSendInput = (mode & 4) != 0;
    PacketInjector injector(platform);

    for (size_t at = 17; at + kInputPacketSize <= size; at += kInputPacketSize) {
        uint8_t bytes[kInputPacketSize];
        std::memcpy(bytes, data + at, kInputPacketSize);
        std::memcpy(bytes, kInputPacketMagic, 4); // the channel drops records without the magic
        InputPacket packet;
        Check(DecodeInputPacket(bytes, packet), "decode refused a record with the magic");
        platform.sent.clear();
        platform.calls.clear();
        injector.Inject(packet);
        for (const PlannedInput& e : platform.sent) {
            Check(e.kind != PlannedInput::Kind::None, "an empty event was sent");
            if (e.kind == PlannedInput::Kind::Mouse && (e.flags & InjectionFlags::kMouseAbsolute) != 0)
                Check(e.dx >= 0 && e.dx <= kAbsoluteMouseMax && e.dy >= 0 && e.dy <= kAbsoluteMouseMax,
                      "absolute move out of range");
        }
        for (const std::string& call : platform.calls)
            Check(call.size() < 64, "one SendInput call carried more than a tap");
    }
    SetInjectionHid(nullptr);
    return 0;
}
