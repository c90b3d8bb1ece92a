#pragma once

#include <functional>
#include <string>

#include "core/Printf.h"

// Where the firewall check writes its lines: the process log in the program, a list in tests (most of
// these lines belong to the start-up category, which the log drops unless it is switched on).
class FirewallLog {
public:
    using Sink = std::function<void(const std::string& line)>;

    FirewallLog() = default; // the process log
    explicit FirewallLog(Sink sink) : m_sink(std::move(sink)) {}

    void Line(const char* format, ...) TSLY_PRINTF(2, 3);

private:
    Sink m_sink;
};
