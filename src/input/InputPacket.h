#pragma once

#include <cstddef>
#include <cstdint>

// The input stream: the controller sends keyboard, mouse and a few commands to the controlled PC over one TCP
// connection to port 5000, as fixed 24-byte records, all fields little-endian:
//   @0 magic "TSLY", @4 u32 type, @8 i32 x, @12 i32 y, @16 i32 data1, @20 i32 data2.
// A connection starts with HELLO (client) answered by ACK (host); after it only packets flow to the host, and
// the host sends nothing but ACKs back.

constexpr size_t kInputPacketSize = 24;
constexpr uint16_t kInputPort = 5000;
constexpr uint8_t kInputPacketMagic[4] = {'T', 'S', 'L', 'Y'};
constexpr uint32_t kInputPacketMagicValue = 0x594C5354; // "TSLY" read as a little-endian u32

enum class InputPacketType : uint32_t {
    MouseMove = 1,   // x, y: target cursor position in the controlled PC's virtual-desktop pixels
    MouseButton = 2, // data1: 0 left, 1 right, 2 middle; data2: 1 down, 0 up
    MouseWheel = 3,  // x, y: cursor position (desktop pixels); data1: delta, 120 per notch
    Key = 4,         // x: scan code (low 16 bits); data1: virtual key; data2: KeyPacketFlags
    SystemKey = 5,   // data1: SystemKeyCode; data2: its argument
    Hello = 100,     // handshake: HELLO and ACK, told apart by x
};

// data2 of KEY.
namespace KeyPacketFlags {
constexpr int32_t kDown = 0x01;
constexpr int32_t kExtended = 0x02;
constexpr int32_t kNumLockValid = 0x04; // only for virtual key 144 (NumLock)
constexpr int32_t kNumLockWantOn = 0x08;
constexpr int32_t kNumLockTap = 0x10;
} // namespace KeyPacketFlags

// data1 of SYSTEM_KEY.
enum class SystemKeyCode : int32_t {
    CtrlAltDel = 1,   // through the controlled PC's HID link
    VideoRestart = 2, // rebuild the host video pipeline
    KeyboardSync = 3, // data2: KeySyncFlags
    DragVisual = 4,   // data2: 1 overlay active, 0 off
};

// data2 of SYSTEM_KEY 3.
namespace KeySyncFlags {
constexpr int32_t kCtrl = 0x01;
constexpr int32_t kAlt = 0x02;
constexpr int32_t kShift = 0x04;
constexpr int32_t kNumLock = 0x08;
constexpr int32_t kCapsLock = 0x10;
constexpr int32_t kWin = 0x20;
} // namespace KeySyncFlags

// Handshake: HELLO {type 100, x kHelloTag (or 0 from older clients), data1 nonce, data2 0}, answered by
// ACK {type 100, x kAckTag, data1 the same nonce, data2 1}. The nonce is the client's run generation AND
// 0x7FFFFFFF.
constexpr int32_t kHelloTag = 0x494E5031;
constexpr int32_t kAckTag = 0x41434B31;
constexpr uint32_t kInputHandshakeTimeoutMs = 1200;
constexpr uint32_t kInputHostRecvTimeoutMs = 300;
constexpr uint32_t kInputKeepAliveIdleMs = 1500;
constexpr uint32_t kInputKeepAliveIntervalMs = 500;
constexpr uint32_t kInputClientRetryMs = 1000;

struct InputPacket {
    uint32_t type = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t data1 = 0;
    int32_t data2 = 0;

    bool Is(InputPacketType t) const { return type == static_cast<uint32_t>(t); }
    bool operator==(const InputPacket&) const = default;
};

InputPacket MakeInputPacket(InputPacketType type, int32_t x, int32_t y, int32_t data1, int32_t data2);

// Writes the 24 wire bytes, magic included.
void EncodeInputPacket(const InputPacket& packet, uint8_t* out);
// Reads the fields of 24 wire bytes; false when the magic is not "TSLY" (the fields are read anyway).
bool DecodeInputPacket(const uint8_t* in, InputPacket& packet);
// The first four bytes as a little-endian u32, for logs of a refused record.
uint32_t InputPacketMagicOf(const uint8_t* in);

// "MOUSE_MOVE", "MOUSE_BUTTON", "MOUSE_WHEEL", "KEY", "SYSTEM_KEY", "HELLO"; "UNKNOWN" for anything else.
const char* InputPacketTypeName(uint32_t type);

InputPacket MakeHelloPacket(int32_t nonce);
InputPacket MakeAckPacket(int32_t nonce);
// The nonce of a run generation.
int32_t InputHandshakeNonce(uint64_t runGeneration);
// The host's test of a HELLO: type 100 and x kHelloTag or 0 (the magic is checked by the decode).
bool IsAcceptableHello(const InputPacket& packet);
// The client's test of an ACK: type 100, x kAckTag, data1 the nonce sent, data2 1.
bool IsMatchingAck(const InputPacket& packet, int32_t nonce);
