#include "core/win/Win32LogPlatform.h"

#include "core/win/Handles.h"

#include <string>

// The executable's directory (up to and including the last separator) plus the file name; the bare
// name when the module path cannot be read.
std::wstring Win32LogFilePath() {
    wchar_t module[MAX_PATH] = {};
    DWORD len = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = (len == 0 || len >= MAX_PATH) ? std::wstring() : std::wstring(module, len);
    size_t sep = path.find_last_of(L"\\/");
    path = sep == std::wstring::npos ? std::wstring() : path.substr(0, sep + 1);
    return path + L"Tessaly.log";
}

namespace {

class WindowsLogPlatform final : public ILogPlatform {
public:
    LocalTimeStamp LocalTime() override {
        SYSTEMTIME st;
        ::GetLocalTime(&st);
        return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    }
    uint32_t CurrentThreadId() override { return ::GetCurrentThreadId(); }
    uint32_t TickCount() override { return ::GetTickCount(); }
    std::optional<std::string> Environment(const char* name) override {
        char value[64];
        DWORD len = ::GetEnvironmentVariableA(name, value, sizeof value);
        if (len == 0)
            return std::nullopt;
        if (len >= sizeof value)
            return std::string(len - 1, 'x'); // longer than any value the switches accept
        return std::string(value, len);
    }
    bool OpenFile() override {
        // A copy relaunched elevated can start before its parent has closed the log: give the parent a
        // moment.
        for (int attempt = 0; attempt < 20; ++attempt) {
            m_file.Reset(::CreateFileW(Win32LogFilePath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (m_file.Valid() || ::GetLastError() != ERROR_SHARING_VIOLATION)
                break;
            ::Sleep(50);
        }
        return m_file.Valid();
    }
    void WriteFile(const char* data, size_t size) override {
        DWORD written = 0;
        ::WriteFile(m_file.Get(), data, static_cast<DWORD>(size), &written, nullptr);
    }
    void FlushFile() override { ::FlushFileBuffers(m_file.Get()); }
    void CloseFile() override { m_file.Reset(); }
    void DebugOutput(const char* line) override { ::OutputDebugStringA(line); }

private:
    UniqueHandle m_file;
};

} // namespace

ILogPlatform& Win32LogPlatform() {
    static auto* platform = new WindowsLogPlatform;
    return *platform;
}
