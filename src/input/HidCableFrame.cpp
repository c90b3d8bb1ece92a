#include "input/HidCableFrame.h"

namespace {

// Writes the outer header and data, then the checksum; returns the frame.
HidCableFrame Frame(HidCableCommand command, const uint8_t* data, size_t count) {
    HidCableFrame frame;
    frame.bytes[0] = kHidFrameSync1;
    frame.bytes[1] = kHidFrameSync2;
    frame.bytes[2] = kHidFrameAddress;
    frame.bytes[3] = static_cast<uint8_t>(command);
    frame.bytes[4] = static_cast<uint8_t>(count);
    for (size_t i = 0; i < count; ++i)
        frame.bytes[5 + i] = data[i];
    frame.bytes[5 + count] = HidChecksum(frame.bytes.data(), 5 + count);
    frame.length = kHidFrameOverhead + count;
    return frame;
}

} // namespace

uint8_t HidChecksum(const uint8_t* bytes, size_t count) {
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

HidCableFrame BuildOneByteFrame(HidCableCommand command, uint8_t data) {
    return Frame(command, &data, 1);
}

HidCableFrame BuildKeyboardFrame(uint8_t modifiers, uint8_t usage) {
    uint8_t inner[kHidInnerKeyboardLength] = {kHidInnerSync1, kHidInnerSync2, 0x00, kHidInnerKeyboardCommand,
                                              0x08,           modifiers,      0x00, usage};
    inner[kHidInnerKeyboardLength - 1] = HidChecksum(inner, kHidInnerKeyboardLength - 1);
    return Frame(HidCableCommand::KeyboardReport, inner, sizeof inner);
}

HidCableFrame BuildMouseFrame(uint8_t buttons, int32_t x, int32_t y, int8_t wheel) {
    const uint32_t ux = static_cast<uint32_t>(x);
    const uint32_t uy = static_cast<uint32_t>(y);
    uint8_t inner[kHidInnerMouseLength] = {kHidInnerSync1,
                                           kHidInnerSync2,
                                           0x00,
                                           kHidInnerMouseCommand,
                                           0x07,
                                           kHidMouseAbsoluteMode,
                                           buttons,
                                           static_cast<uint8_t>(ux & 0xFF),
                                           static_cast<uint8_t>((ux >> 8) & 0xFF),
                                           static_cast<uint8_t>(uy & 0xFF),
                                           static_cast<uint8_t>((uy >> 8) & 0xFF),
                                           static_cast<uint8_t>(wheel)};
    inner[kHidInnerMouseLength - 1] = HidChecksum(inner, kHidInnerMouseLength - 1);
    return Frame(HidCableCommand::AbsoluteMouseReport, inner, sizeof inner);
}

int8_t HidWheelByte(int32_t delta) {
    // 64-bit so that the magnitude of INT32_MIN does not overflow.
    const int64_t d = delta;
    const int64_t magnitude = d < 0 ? -d : d;
    if (magnitude == 0)
        return 0;
    if (magnitude < 120)
        return d < 0 ? -1 : 1;
    int64_t notches = d / 120; // truncates toward zero
    if (notches > 127)
        notches = 127;
    if (notches < -127)
        notches = -127;
    return static_cast<int8_t>(notches);
}
