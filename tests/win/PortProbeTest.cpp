#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "TestPaths.h"
#include "app/win/PortProbe.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "WinsockTest.h"

namespace {

std::wstring LogPath() {
    return TestExeFolder() + L"Tessaly.log";
}

// A port that nothing holds right now: bound to 0 and given back.
uint16_t FreePort() {
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!s.Valid() || ::bind(s.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        return 0;
    int size = sizeof addr;
    ::getsockname(s.Get(), reinterpret_cast<sockaddr*>(&addr), &size);
    return ntohs(addr.sin_port);
}

// Another process that holds UDP and TCP on a port until it is destroyed.
class PortHolder {
public:
    explicit PortHolder(uint16_t port) {
        std::wstring suffix = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(port);
        std::wstring readyName = L"Local\\TslyPortHolderReady-" + suffix;
        std::wstring quitName = L"Local\\TslyPortHolderQuit-" + suffix;
        m_ready.Reset(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
        m_quit.Reset(CreateEventW(nullptr, TRUE, FALSE, quitName.c_str()));
        std::wstring exe = TestExeFolder() + L"PortHolder.exe";
        std::wstring commandLine =
            L"\"" + exe + L"\" " + std::to_wstring(port) + L" " + readyName + L" " + quitName;
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi)) {
            m_process.Reset(pi.hProcess);
            UniqueHandle thread(pi.hThread);
        }
    }
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;
    ~PortHolder() { Release(); }

    // True once both sockets are bound.
    bool Holding() {
        if (!m_process || WaitForSingleObject(m_ready.Get(), 10000) != WAIT_OBJECT_0)
            return false;
        DWORD code = STILL_ACTIVE;
        return GetExitCodeProcess(m_process.Get(), &code) && code == STILL_ACTIVE;
    }
    // Ends the holder and waits for it to leave.
    bool Release() {
        if (!m_process)
            return true;
        SetEvent(m_quit.Get());
        bool ended = WaitForSingleObject(m_process.Get(), 10000) == WAIT_OBJECT_0;
        m_process.Reset();
        return ended;
    }

private:
    UniqueHandle m_ready, m_quit, m_process;
};

class PortProbe : public WinsockTest {
protected:
    std::string ProbeLog(uint16_t port) {
        Log::Open();
        CanBindUdpPort("audio", port);
        CanBindTcpPort("clipboard", port);
        Log::Close();
        return ReadWholeFile(LogPath());
    }
};

TEST_F(PortProbe, PortHeldByAnotherProcessIsBusyUntilItIsReleased) {
    uint16_t port = FreePort();
    ASSERT_NE(port, 0);
    const std::string p = std::to_string(port);
    PortHolder holder(port);
    ASSERT_TRUE(holder.Holding());

    std::string held = ProbeLog(port);
    EXPECT_NE(held.find("[NET][BIND] udp audio port=" + p + " BUSY wsa=10048\r\n"), std::string::npos)
        << held;
    EXPECT_NE(held.find("[NET][BIND] tcp clipboard  port=" + p + " BUSY/FAIL wsa=10048\r\n"),
              std::string::npos)
        << held;

    ASSERT_TRUE(holder.Release());
    std::string free = ProbeLog(port);
    EXPECT_NE(free.find("[NET][BIND] udp audio port=" + p + " OK wsa=0\r\n"), std::string::npos) << free;
    EXPECT_NE(free.find("[NET][BIND] tcp clipboard  port=" + p + " OK wsa=0\r\n"), std::string::npos) << free;
    EXPECT_EQ(free.find("closesocket failed"), std::string::npos) << free;
}

TEST_F(PortProbe, AProbeReleasesItsPortAtOnce) {
    uint16_t port = FreePort();
    ASSERT_NE(port, 0);
    CanBindTcpPort("control", port);
    CanBindUdpPort("discovery", port);
    // Both probe sockets are gone: the port can be bound and listened on again.
    UniqueSocket tcp(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    UniqueSocket udp(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    EXPECT_EQ(::bind(tcp.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0)
        << WSAGetLastError();
    EXPECT_EQ(::bind(udp.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0)
        << WSAGetLastError();
}

} // namespace
