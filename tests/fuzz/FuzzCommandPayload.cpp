// Two fuzz targets in one:
// - payload: the command value escaping round-trips for any bytes, an escaped value holds no line end, and
//   the payload reader never reads outside its text;
// - bus: a stateful run of CommandBus operations (publish, drain, subscribe, unsubscribe, handlers that
//   publish or throw) checked against a model: every published message is dispatched once, in sequence
//   order, at most 128 per drain, and a drain that leaves messages behind raises the backlog hook.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/CommandBus.h"
#include "core/CommandBusPayload.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FuzzCommandPayload: %s\n", what);
        std::abort();
    }
}

void FuzzPayload(std::string_view input) {
    std::string escaped = EscapeCommandValue(input);
    Check(escaped.find('\n') == std::string::npos, "escaped value holds a line feed");
    Check(escaped.find('\r') == std::string::npos, "escaped value holds a carriage return");
    Check(UnescapeCommandValue(escaped) == input, "escape does not round-trip");
    Check(UnescapeCommandValue(input).size() <= input.size(), "unescape grew the text");

    // A payload line built from the value reads back as the value.
    std::string payload = "transferId=1\nmessage=" + escaped + "\nerrorCode=2\n";
    std::string value;
    Check(FindCommandPayloadValue(payload, "message", value), "message key not found");
    Check(UnescapeCommandValue(value) == input, "payload value does not round-trip");
    Check(FindCommandPayloadValue(payload, "errorCode", value) && value == "2", "later key lost");

    // Arbitrary text as a payload: any key found gives a value without a line feed.
    for (std::string_view key : {"mode", "transferId", "", "a"}) {
        if (FindCommandPayloadValue(input, key, value))
            Check(value.find('\n') == std::string::npos, "value crosses a line");
    }
}

int g_backlog = 0;
void Backlog() {
    ++g_backlog;
}
void Quiet(const char*) {}

void FuzzBus(const uint8_t* data, size_t size) {
    g_backlog = 0;
    CommandBus bus(&Quiet, &Backlog);
    std::map<uint64_t, uint32_t> subscriptions; // id -> type
    std::vector<uint64_t> dispatched;           // sequences seen by the counting handler of type 400
    uint64_t published = 0;
    std::deque<uint64_t> queued; // model of the queue (sequences), type 400 only or others
    std::map<uint64_t, uint32_t> typeOf;
    bool publishFromHandler = false;

    bus.Subscribe(400, [&](const CommandMessage& m) { dispatched.push_back(m.sequence); });
    bus.Subscribe(401, [&](const CommandMessage& m) {
        dispatched.push_back(m.sequence);
        if (publishFromHandler) {
            CommandMessage next;
            next.type = 400;
            uint64_t seq = bus.Publish(next);
            Check(seq == ++published, "sequence not next in handler");
            queued.push_back(seq);
            typeOf[seq] = 400;
        }
    });
    bus.Subscribe(402, [&](const CommandMessage& m) {
        dispatched.push_back(m.sequence);
        throw std::runtime_error("handler");
    });

    size = size < 256 ? size : 256; // longer runs add nothing but time
    for (size_t i = 0; i < size; ++i) {
        uint8_t op = data[i];
        switch (op % 6) {
        case 0:
        case 1: {                          // publish a burst
            int count = 1 + (op >> 5) * 5; // 1..36; a few bursts cross the 128 limit
            for (int k = 0; k < count; ++k) {
                CommandMessage m;
                m.type = 400 + static_cast<uint32_t>((op >> 1) % 3);
                m.timestampMs = (op & 0x80) ? 77 : 0;
                uint64_t seq = bus.Publish(m);
                Check(seq == ++published, "sequence not next");
                queued.push_back(seq);
                typeOf[seq] = m.type;
            }
            break;
        }
        case 2: { // drain
            size_t before = dispatched.size();
            int backlogBefore = g_backlog;
            size_t n = bus.Drain();
            Check(n <= CommandBus::kDrainLimit, "drain over 128");
            // Handlers may have appended while draining; the model pops what was dispatched.
            for (size_t k = 0; k < n; ++k) {
                Check(!queued.empty(), "drained more than queued");
                uint64_t seq = queued.front();
                queued.pop_front();
                Check(dispatched.size() > before, "message not dispatched");
                Check(dispatched[before] == seq, "dispatch out of sequence order");
                ++before;
            }
            Check(dispatched.size() == before, "extra dispatch");
            Check(bus.QueuedCount() == queued.size(), "queue size differs");
            bool left = n == CommandBus::kDrainLimit && !queued.empty();
            Check(g_backlog == backlogBefore + (left ? 1 : 0), "backlog hook wrong");
            break;
        }
        case 3: { // subscribe an extra (non-counting) handler, a few at most
            if (subscriptions.size() >= 8)
                break;
            uint64_t id = bus.Subscribe(400 + (op >> 4) % 4, [](const CommandMessage&) {});
            Check(id != 0, "subscribe gave 0");
            subscriptions[id] = 400;
            break;
        }
        case 4: // unsubscribe one (or id 0)
            if (!subscriptions.empty() && (op & 0x10)) {
                bus.Unsubscribe(subscriptions.begin()->first);
                subscriptions.erase(subscriptions.begin());
            } else {
                bus.Unsubscribe(0);
            }
            break;
        case 5:
            publishFromHandler = !publishFromHandler;
            break;
        }
    }
    // Everything left drains in at most ceil(n/128) drains (handlers stop publishing).
    publishFromHandler = false;
    while (!queued.empty()) {
        size_t n = bus.Drain();
        Check(n > 0, "drain made no progress");
        for (size_t k = 0; k < n; ++k)
            queued.pop_front();
    }
    Check(bus.QueuedCount() == 0, "queue not empty");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1)
        FuzzPayload(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    else
        FuzzBus(data + 1, size - 1);
    return 0;
}
