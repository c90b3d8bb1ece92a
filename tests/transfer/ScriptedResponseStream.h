#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

#include "transfer/HttpReceive.h"

// A response stream that hands out scripted blocks (each at most what the caller asks for), then ends with
// `last`: 0 for a closed connection, negative for an error such as a time-out.
class ScriptedResponseStream final : public HttpClient::IResponseStream {
public:
    ScriptedResponseStream(std::deque<std::string> blocks, int last)
        : m_blocks(std::move(blocks)), m_last(last) {}

    int Receive(char* buffer, size_t capacity) override {
        ++calls;
        largestAsk = std::max(largestAsk, capacity);
        if (m_blocks.empty())
            return m_last;
        std::string& front = m_blocks.front();
        size_t n = std::min(capacity, front.size());
        std::memcpy(buffer, front.data(), n);
        front.erase(0, n);
        if (front.empty())
            m_blocks.pop_front();
        return static_cast<int>(n);
    }
    int LastError() override { return m_last < 0 ? 10060 : 0; }

    int calls = 0;
    size_t largestAsk = 0;

private:
    std::deque<std::string> m_blocks;
    int m_last;
};
