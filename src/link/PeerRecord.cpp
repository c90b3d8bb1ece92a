#include "link/PeerRecord.h"

#include "core/Log.h"
#include "link/ControlMessageRead.h"
#include "core/Utf.h"

namespace Discovery {

namespace {

std::string PeerText(std::string_view value) {
    return std::string(CutUtf8(value, kPeerTextMaxBytes));
}

} // namespace

PeerRecord PeerRecordFromDiscovery(std::string_view message, std::string_view sourceIp, uint32_t tick) {
    PeerRecord record;
    record.id = PeerText(GetMessageValue(message, "id"));
    record.name = PeerText(GetMessageValue(message, "name"));
    record.ip = PeerText(sourceIp);
    record.ver = PeerText(GetMessageValue(message, "ver"));
    record.lastSeenTick = tick;
    record.tcpFailures = 0;
    record.ultra = PeerHasUltraCapability(message) ? 1 : 0;
    return record;
}

bool IsSamePeer(const PeerRecord& stored, const PeerRecord& incoming) {
    return stored.id == incoming.id || stored.ip == incoming.ip;
}

bool RefreshPeerRecord(PeerRecord& stored, const PeerRecord& incoming) {
    bool idChanged = stored.id != incoming.id;
    if (idChanged)
        Log::Write("Discovery refresh device identity ip=%s old_id=%s new_id=%s", incoming.ip.c_str(),
                   stored.id.c_str(), incoming.id.c_str());
    stored.id = incoming.id;
    stored.name = incoming.name;
    stored.ip = incoming.ip;
    stored.ver = incoming.ver;
    stored.ultra = incoming.ultra;
    stored.lastSeenTick = incoming.lastSeenTick;
    stored.tcpFailures = 0;
    return idChanged;
}

} // namespace Discovery
