#include "core/CommandBusPayload.h"

#include <cstdio>

std::string EscapeCommandValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string UnescapeCommandValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == '\\' || next == 'n' || next == 'r') {
                out += next == '\\' ? '\\' : next == 'n' ? '\n' : '\r';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

bool FindCommandPayloadValue(std::string_view payload, std::string_view key, std::string& value) {
    value.clear();
    size_t start = 0;
    while (start <= payload.size()) {
        size_t end = payload.find('\n', start);
        std::string_view line =
            payload.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=') {
            std::string_view v = line.substr(key.size() + 1);
            if (!v.empty() && v.back() == '\r')
                v.remove_suffix(1);
            value.assign(v);
            return true;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

std::string FormatRuntimeStatePayload(int programState, int role) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "program=%d role=%d", programState, role);
    return buffer;
}

CommandMessage MakeRuntimeStateChangedCommand(int programState, int role) {
    CommandMessage message;
    message.type = kCommandRuntimeStateChanged;
    message.correlationId = 0;
    message.name = CommandTypeName(kCommandRuntimeStateChanged);
    message.SetPayloadText(FormatRuntimeStatePayload(programState, role));
    return message;
}
