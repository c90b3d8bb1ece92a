#include "support/TestLog.h"

#include <algorithm>
#include <string_view>

std::optional<std::string> MemoryLogPlatform::Environment(const char* name) {
    auto it = environment.find(name);
    if (it == environment.end())
        return std::nullopt;
    return it->second;
}

bool MemoryLogPlatform::OpenFile() {
    ++opens;
    if (!canOpen)
        return false;
    file.clear();
    open = true;
    return true;
}

void MemoryLogPlatform::WriteFile(const char* data, size_t size) {
    std::lock_guard<std::mutex> lock(m_mutex);
    file.append(data, size);
    std::string_view line(data, size);
    size_t tid = line.find(" tid=");
    size_t start = tid == std::string_view::npos ? 0 : line.find(' ', tid + 1) + 1;
    size_t end = line.size() >= 2 && line.substr(line.size() - 2) == "\r\n" ? line.size() - 2 : line.size();
    m_events.emplace_back(line.substr(start, end - start));
}

void MemoryLogPlatform::DebugOutput(const char* line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    debugOutput.emplace_back(line);
}

std::vector<std::string> MemoryLogPlatform::Messages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
}

void MemoryLogPlatform::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.clear();
}

void MemoryLogPlatform::Note(const std::string& event) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back("@" + event);
}

MemoryLogPlatform& TestLog() {
    static auto* platform = new MemoryLogPlatform;
    return *platform;
}

size_t CountLogMessages(const std::string& needle) {
    std::vector<std::string> lines = TestLog().Messages();
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(needle) != std::string::npos;
    }));
}
