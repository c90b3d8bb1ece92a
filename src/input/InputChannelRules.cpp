#include "input/InputChannelRules.h"

#include <cstdio>

#include "core/StateManagerTypes.h"

bool IsHostHandshakeHello(InputRecordReader::Result result, const InputPacket& packet) {
    return result == InputRecordReader::Result::Packet && IsAcceptableHello(packet);
}

HostRecordAction DecideHostRecord(InputRecordReader::Result result, const InputPacket& packet,
                                  uint64_t acceptGen, uint64_t newestAcceptGen) {
    if (acceptGen != newestAcceptGen)
        return HostRecordAction::CloseStale;
    if (result != InputRecordReader::Result::Packet)
        return HostRecordAction::CloseBadMagic;
    if (packet.Is(InputPacketType::Hello))
        return HostRecordAction::AnswerHello;
    return HostRecordAction::Inject;
}

bool ShouldRouteToTcp(bool remoteLocked, int32_t route) {
    return !remoteLocked && (route == static_cast<int32_t>(InputRoute::None) ||
                             route == static_cast<int32_t>(InputRoute::Hid));
}

bool IsDuplicateClientStart(const ClientRunFacts& current, const std::string& peer, uint16_t port,
                            bool force) {
    return !force && current.running && current.clientMode && current.peer == peer && current.port == port;
}

bool ShouldLogInputPacket(const InputPacket& packet, uint64_t moveNumber) {
    return !packet.Is(InputPacketType::MouseMove) || moveNumber % kInputMoveLogEvery == 0;
}

const char* MouseButtonLogName(int32_t button) {
    switch (button) {
    case 0:
        return "L";
    case 1:
        return "R";
    case 2:
        return "M";
    }
    return "?";
}

std::string FormatKeyDiagLine(const char* tag, const InputPacket& packet) {
    char line[160];
    std::snprintf(line, sizeof line, "[KEY][DIAG][%s] vk=%d scan=%d down=%d extended=%d pktFlags=0x%X",
                  tag ? tag : "", packet.data1, packet.x & 0xFFFF,
                  (packet.data2 & KeyPacketFlags::kDown) ? 1 : 0,
                  (packet.data2 & KeyPacketFlags::kExtended) ? 1 : 0, static_cast<unsigned>(packet.data2));
    return line;
}

std::string FormatMouseButtonDiagLine(const char* tag, const InputPacket& packet) {
    char line[160];
    std::snprintf(line, sizeof line, "[MOUSE][BTN][%s] button=%s(%d) down=%d x=%d y=%d data2=%d",
                  tag ? tag : "", MouseButtonLogName(packet.data1), packet.data1, packet.data2 == 1 ? 1 : 0,
                  packet.x, packet.y, packet.data2);
    return line;
}
