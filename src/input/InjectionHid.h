#pragma once

#include <cstdint>

// What injection needs of the cable's HID interface on the controlled PC: whether it is there, the
// Ctrl+Alt+Del sequence, and the wheel. Results follow the cable's exported functions (1 present or done,
// -1 absent or failed). The base class is a cable that is not there; start-up installs the real one with
// SetInjectionHid. The object must live to the end of the process.
class IInjectionHid {
public:
    virtual ~IInjectionHid() = default;

    virtual int ProbePresent() { return -1; }
    virtual int SetSystemKey() { return -1; }
    // x and y in the cable's 0..4096 range.
    virtual int SendWheel(int32_t x, int32_t y, int32_t delta) {
        (void)x, (void)y, (void)delta;
        return -1;
    }
};

void SetInjectionHid(IInjectionHid* hid);
IInjectionHid& InjectionHid();
