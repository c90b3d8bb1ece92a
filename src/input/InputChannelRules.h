#pragma once

#include <cstdint>
#include <string>

#include "input/InputPacket.h"
#include "input/InputRecordReader.h"

// The input channel's decisions, apart from its sockets and threads (input/win/InputChannel.h).

// The host's test of a connection's first record: a whole record with the magic that is an acceptable HELLO.
bool IsHostHandshakeHello(InputRecordReader::Result result, const InputPacket& packet);

// What the host does with a record of a handshaken connection.
enum class HostRecordAction {
    Inject,      // hand it to the injector
    AnswerHello, // a HELLO inside the session: answer with a fresh ACK, do not inject
    CloseStale,  // a newer connection was accepted: this one ends
    CloseBadMagic,
};
// result is Packet or BadMagic. acceptGen numbers this connection, newestAcceptGen the newest accepted one.
HostRecordAction DecideHostRecord(InputRecordReader::Result result, const InputPacket& packet,
                                  uint64_t acceptGen, uint64_t newestAcceptGen);

// After a handshake the route moves to TCP unless the remote desktop is locked, and only away from NONE or
// HID.
bool ShouldRouteToTcp(bool remoteLocked, int32_t route);

// StartClient without force keeps a client run that already serves the same peer and port.
struct ClientRunFacts {
    bool running = false;
    bool clientMode = false;
    std::string peer;
    uint16_t port = 0;
};
bool IsDuplicateClientStart(const ClientRunFacts& current, const std::string& peer, uint16_t port,
                            bool force);

// The per-packet "input" category lines log MOUSE_MOVE only every 500th time. moveNumber numbers the moves
// one log site has seen, from 1 (ignored for other types).
constexpr uint64_t kInputMoveLogEvery = 500;
bool ShouldLogInputPacket(const InputPacket& packet, uint64_t moveNumber);

// "L", "R", "M" for buttons 0..2, "?" for any other.
const char* MouseButtonLogName(int32_t button);
// "[KEY][DIAG][<tag>] vk=.. scan=.. down=.. extended=.. pktFlags=0x.."
std::string FormatKeyDiagLine(const char* tag, const InputPacket& packet);
// "[MOUSE][BTN][<tag>] button=X(n) down=.. x=.. y=.. data2=.."
std::string FormatMouseButtonDiagLine(const char* tag, const InputPacket& packet);
