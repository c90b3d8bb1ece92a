// Feeds arbitrary text through the log filter and the whole log writer, and aborts on any written line
// that is not one well-formed log line.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/LogFilter.h"
#include "core/LogWriter.h"
#include "../support/Utf8Checks.h"

namespace {

void Fail(const char* what, std::string_view line) {
    std::fprintf(stderr, "FuzzLogWriter: %s (%zu bytes): ", what, line.size());
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
    std::abort();
}

void Check(bool ok, const char* what, std::string_view line) {
    if (!ok)
        Fail(what, line);
}

const char* const kVariables[] = {
    "MARLO_DEBUG_ALL_LOG",
    "MARLO_DEBUG_INPUT_LOG",
    "MARLO_DEBUG_HID_LOG",
    "MARLO_DEBUG_DRAG_LOG",
    "MARLO_DEBUG_RESIZE_LOG",
    "MARLO_DEBUG_UI_LOG",
    "MARLO_DEBUG_TIMELINE_LOG",
    "MARLO_DEBUG_MEDIA_LOG",
    "MARLO_DEBUG_VISIBILITY_LOG",
    "MARLO_DEBUG_STATE_LOG",
    "MARLO_DEBUG_STARTUP_LOG",
    "MARLO_DEBUG_TRANSFER_LOG",
    "MARLO_ENABLE_OUTPUT_DEBUG_STRING",
};
constexpr int kVariableCount = sizeof kVariables / sizeof kVariables[0];

class FuzzPlatform : public ILogPlatform {
public:
    LocalTimeStamp LocalTime() override { return time; }
    uint32_t CurrentThreadId() override { return threadId; }
    uint32_t TickCount() override { return 1; }
    std::optional<std::string> Environment(const char* name) override {
        for (int i = 0; i < kVariableCount; ++i)
            if (std::strcmp(name, kVariables[i]) == 0 && (switches >> i & 1))
                return std::string("1");
        return std::nullopt;
    }
    bool OpenFile() override { return true; }
    void WriteFile(const char* data, size_t size) override { lines.emplace_back(data, size); }
    void FlushFile() override {}
    void CloseFile() override {}
    void DebugOutput(const char* line) override { debugLines.emplace_back(line); }

    LocalTimeStamp time;
    uint32_t threadId = 0;
    uint32_t switches = 0;
    std::vector<std::string> lines;
    std::vector<std::string> debugLines;
};

std::vector<std::string> g_errorLines;

void ErrorSink(const char* line) {
    g_errorLines.emplace_back(line);
}

void Write(LogWriter& writer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    writer.WriteV(format, args);
    va_end(args);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Same rules as the checker regex ^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} tid=\d+ .*\S.*\r\n$, plus the
// length limit and the control-character rule.
void CheckLine(std::string_view line) {
    Check(line.size() <= 4095, "line longer than 4095 bytes", line);
    Check(line.size() >= 2 && line.substr(line.size() - 2) == "\r\n", "line does not end in CRLF", line);
    const char* shape = "####-##-## ##:##:##.### tid="; // # is a digit
    size_t i = 0;
    for (; shape[i] != '\0'; ++i) {
        Check(i < line.size(), "prefix cut short", line);
        Check(shape[i] == '#' ? IsDigit(line[i]) : line[i] == shape[i], "bad prefix", line);
    }
    size_t digits = i;
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    Check(i > digits && i < line.size() && line[i] == ' ', "bad thread id", line);
    std::string_view message = line.substr(i + 1, line.size() - 2 - (i + 1));
    bool visible = false;
    for (char ch : message) {
        unsigned char c = static_cast<unsigned char>(ch);
        Check(c >= 0x20 || c == '\t', "control character in message", line);
        if (c != ' ' && c != '\t')
            visible = true;
    }
    Check(visible, "message without a visible character", line);
}

DebugFlags FlagsFromBits(uint32_t bits) {
    DebugFlags f;
    bool* members[] = {&f.all,      &f.input, &f.hid,        &f.drag,  &f.resize,  &f.ui,
                       &f.timeline, &f.media, &f.visibility, &f.state, &f.startup, &f.transfer};
    for (int i = 0; i < 12; ++i)
        *members[i] = (bits >> i & 1) != 0;
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Header: 2 bytes switches, 4 bytes thread id, 2 bytes padding; the rest is the line.
    constexpr size_t kHeader = 8;
    if (size < kHeader)
        return 0;
    uint32_t switches = data[0] | (data[1] << 8);
    uint32_t threadId = data[2] | (data[3] << 8) | (data[4] << 16) | (uint32_t(data[5]) << 24);
    // Padding in front of the text moves the line-limit cut into it: mostly to within 255 bytes of its start,
    // sometimes anywhere.
    size_t room = 4093 - (29 + std::to_string(threadId).size());
    size_t padding = (data[7] & 1) ? (data[6] | (data[7] << 8)) % 4200 : room - data[6];
    char padChar = (data[7] & 2) ? ' ' : 'p';
    std::string text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    // The filter on its own.
    DebugFlags flags = FlagsFromBits(switches);
    DebugFlags all = FlagsFromBits(0xFFF);
    bool suppressed = ShouldSuppressLine(text, flags);
    // Switching categories on only lifts blocks: a written line stays written.
    if (!suppressed && ShouldSuppressLine(text, all))
        Fail("line written with fewer categories but dropped with all", text);
    if (text.find("[ERR]") != std::string::npos && suppressed)
        Fail("[ERR] line suppressed", text);
    bool errorText = IsErrorTextLine(text);
    if (errorText &&
        (text.find("[DIAG]") != std::string::npos || text.find("lastError=") != std::string::npos))
        Fail("vetoed line taken as error text", text);

    // The whole writer, with the text as an argument (it stops at the first NUL, as printf does).
    FuzzPlatform platform;
    platform.switches = switches; // bit 12 is the debugger-output switch
    platform.threadId = threadId;
    platform.time =
        LocalTimeStamp{uint16_t(1601 + data[2] % 200), uint16_t(1 + data[3] % 12), uint16_t(1 + data[4] % 31),
                       uint16_t(data[5] % 24),         uint16_t(data[6] % 60),     uint16_t(data[7] % 60),
                       uint16_t(data[0] * 3 % 1000)};
    g_errorLines.clear();
    LogWriter writer(platform);
    writer.SetErrorTextSink(ErrorSink);
    if (!writer.Open())
        std::abort();
    Write(writer, "%s", text.c_str());
    std::string pad(padding, padChar);
    Write(writer, "%s%s", pad.c_str(), text.c_str());
    writer.Close();

    for (const std::string& line : platform.lines)
        CheckLine(line);
    for (const std::string& line : platform.debugLines)
        CheckLine(line);
    for (const std::string& line : g_errorLines) {
        CheckLine(line);
        Check(IsErrorTextLine(line), "sink got a line that is not error text", line);
    }

    // A cut never splits a character of valid UTF-8 text.
    std::string_view formatted(text.c_str());
    if (IsCompleteUtf8(formatted))
        for (const std::string& line : platform.lines)
            Check(IsCompleteUtf8(line), "line splits a UTF-8 character", line);
    return 0;
}
