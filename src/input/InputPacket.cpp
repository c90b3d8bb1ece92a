#include "input/InputPacket.h"

#include <cstring>

#include "core/LittleEndian.h"

InputPacket MakeInputPacket(InputPacketType type, int32_t x, int32_t y, int32_t data1, int32_t data2) {
    InputPacket packet;
    packet.type = static_cast<uint32_t>(type);
    packet.x = x;
    packet.y = y;
    packet.data1 = data1;
    packet.data2 = data2;
    return packet;
}

void EncodeInputPacket(const InputPacket& packet, uint8_t* out) {
    std::memcpy(out, kInputPacketMagic, sizeof(kInputPacketMagic));
    PutLe32(out + 4, packet.type);
    PutLe32(out + 8, static_cast<uint32_t>(packet.x));
    PutLe32(out + 12, static_cast<uint32_t>(packet.y));
    PutLe32(out + 16, static_cast<uint32_t>(packet.data1));
    PutLe32(out + 20, static_cast<uint32_t>(packet.data2));
}

bool DecodeInputPacket(const uint8_t* in, InputPacket& packet) {
    packet.type = GetLe32(in + 4);
    packet.x = static_cast<int32_t>(GetLe32(in + 8));
    packet.y = static_cast<int32_t>(GetLe32(in + 12));
    packet.data1 = static_cast<int32_t>(GetLe32(in + 16));
    packet.data2 = static_cast<int32_t>(GetLe32(in + 20));
    return std::memcmp(in, kInputPacketMagic, sizeof(kInputPacketMagic)) == 0;
}

uint32_t InputPacketMagicOf(const uint8_t* in) {
    return GetLe32(in);
}

const char* InputPacketTypeName(uint32_t type) {
    switch (static_cast<InputPacketType>(type)) {
    case InputPacketType::MouseMove:
        return "MOUSE_MOVE";
    case InputPacketType::MouseButton:
        return "MOUSE_BUTTON";
    case InputPacketType::MouseWheel:
        return "MOUSE_WHEEL";
    case InputPacketType::Key:
        return "KEY";
    case InputPacketType::SystemKey:
        return "SYSTEM_KEY";
    case InputPacketType::Hello:
        return "HELLO";
    }
    return "UNKNOWN";
}

InputPacket MakeHelloPacket(int32_t nonce) {
    return MakeInputPacket(InputPacketType::Hello, kHelloTag, 0, nonce, 0);
}

InputPacket MakeAckPacket(int32_t nonce) {
    return MakeInputPacket(InputPacketType::Hello, kAckTag, 0, nonce, 1);
}

int32_t InputHandshakeNonce(uint64_t runGeneration) {
    return static_cast<int32_t>(runGeneration & 0x7FFFFFFFu);
}

bool IsAcceptableHello(const InputPacket& packet) {
    return packet.Is(InputPacketType::Hello) && (packet.x == kHelloTag || packet.x == 0);
}

bool IsMatchingAck(const InputPacket& packet, int32_t nonce) {
    return packet.Is(InputPacketType::Hello) && packet.x == kAckTag && packet.data1 == nonce &&
           packet.data2 == 1;
}
