#include "link/VideoSyncExchange.h"

#include "core/HasText.h"
#include "core/Log.h"
#include "link/ControlMessageRead.h"
#include "link/QualitySync.h"

using namespace Discovery;

namespace {

unsigned long Ul(uint32_t value) {
    return static_cast<unsigned long>(value);
}

unsigned ReplyBytes(const SyncExchange& exchange) {
    return static_cast<unsigned>(exchange.reply.size());
}

} // namespace

bool ReportVisibilityExchange(const std::string& peer, bool hidden, uint32_t viewSeq, const char* reason,
                              const SyncExchange& exchange) {
    const char* why = HasText(reason) ? reason : "sync";
    const int hiddenFlag = hidden ? 1 : 0;
    switch (exchange.stage) {
    case SyncExchangeStage::ConnectFailed:
        Log::Write("[VIDEO][VISIBILITY][TX_CONNECT_FAIL] peer=%s hidden=%d viewSeq=%lu reason=%s wsa=%d",
                   peer.c_str(), hiddenFlag, Ul(viewSeq), why, exchange.wsa);
        return false;
    case SyncExchangeStage::SendFailed:
        Log::Write(
            "[VIDEO][VISIBILITY][TX_SEND_FAIL] peer=%s hidden=%d viewSeq=%lu reason=%s bytes=%d wsa=%d",
            peer.c_str(), hiddenFlag, Ul(viewSeq), why, exchange.bytes, exchange.wsa);
        return false;
    case SyncExchangeStage::Sent:
        break;
    }
    const bool confirmed = AckConfirmsVisibility(exchange.reply, viewSeq);
    Log::Write(
        "[VIDEO][VISIBILITY][TX_ACK] peer=%s hidden=%d viewSeq=%lu ackSeq=%lu accepted=%d confirmed=%d "
        "reason=%s ackBytes=%u",
        peer.c_str(), hiddenFlag, Ul(viewSeq), Ul(ReadMessageNumber(exchange.reply, "view_seq")),
        ReadMessageFlag(exchange.reply, "accepted") ? 1 : 0, confirmed ? 1 : 0, why, ReplyBytes(exchange));
    return confirmed;
}

bool ReportQualityExchange(const std::string& peer, bool ultra, uint32_t qualitySeq, uint32_t attempt,
                           const SyncExchange& exchange) {
    const char* mode = QualityModeName(ultra);
    switch (exchange.stage) {
    case SyncExchangeStage::ConnectFailed:
        Log::Write("[QUALITY][TX_CONNECT_FAIL] peer=%s qualitySeq=%lu mode=%s attempt=%u wsa=%d",
                   peer.c_str(), Ul(qualitySeq), mode, attempt, exchange.wsa);
        return false;
    case SyncExchangeStage::SendFailed:
        Log::Write("[QUALITY][TX_SEND_FAIL] peer=%s qualitySeq=%lu mode=%s attempt=%u wsa=%d", peer.c_str(),
                   Ul(qualitySeq), mode, attempt, exchange.wsa);
        return false;
    case SyncExchangeStage::Sent:
        break;
    }
    const bool confirmed = AckConfirmsQuality(exchange.reply, qualitySeq, ultra);
    Log::Write(
        "[QUALITY][TX_ACK] peer=%s qualitySeq=%lu ackSeq=%lu mode=%s ackMode=%s accepted=%d confirmed=%d "
        "attempt=%u ackBytes=%u",
        peer.c_str(), Ul(qualitySeq), Ul(ReadMessageNumber(exchange.reply, "quality_seq")), mode,
        QualityModeName(ReadMessageFlag(exchange.reply, "quality")),
        ReadMessageFlag(exchange.reply, "accepted") ? 1 : 0, confirmed ? 1 : 0, attempt,
        ReplyBytes(exchange));
    return confirmed;
}
