#include "core/Log.h"

#include <atomic>

#include "core/LogWriter.h"

namespace {

// Never destroyed: detached worker threads may still log while the process exits.
std::atomic<LogWriter*> g_writer{nullptr};

} // namespace

namespace Log {

void InstallPlatform(ILogPlatform* platform) {
    LogWriter* expected = nullptr;
    auto* writer = new LogWriter(*platform);
    if (!g_writer.compare_exchange_strong(expected, writer))
        delete writer;
}

bool Open() {
    LogWriter* w = g_writer.load();
    return w != nullptr && w->Open();
}

void WriteV(const char* format, va_list args) {
    if (LogWriter* w = g_writer.load())
        w->WriteV(format, args);
}

void Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}

bool IsDebugCategoryEnabled(const char* name) {
    LogWriter* w = g_writer.load();
    return w != nullptr && w->IsDebugCategoryEnabled(name);
}

bool ShouldSuppress(std::string_view line) {
    LogWriter* w = g_writer.load();
    return w != nullptr && w->ShouldSuppress(line);
}

void Flush() {
    if (LogWriter* w = g_writer.load())
        w->Flush();
}

void Close() {
    if (LogWriter* w = g_writer.load())
        w->Close();
}

void SetErrorTextSink(ErrorTextSink sink) {
    if (LogWriter* w = g_writer.load())
        w->SetErrorTextSink(sink);
}

uint32_t CurrentThreadId() {
    LogWriter* w = g_writer.load();
    return w != nullptr ? w->Platform().CurrentThreadId() : 0;
}

uint32_t TickCount() {
    LogWriter* w = g_writer.load();
    return w != nullptr ? w->Platform().TickCount() : 0;
}

} // namespace Log
