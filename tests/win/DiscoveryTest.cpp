#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "LogAssertions.h"
#include "TestPaths.h"
#include "UdpTestSocket.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "link/ControlMessage.h"
#include "link/Discovery.h"
#include "link/LocalIdentity.h"
#include "link/win/DiscoveryProcess.h"

// The discovery service on real sockets. The test namespace has only "lo", with 127.0.0.1 and the link
// address 10.77.0.1/8 (TSLY_TEST_LINK_ADDRESS), so the service's broadcast to 10.255.255.255 comes back to
// its own ports from 10.77.0.1, exactly as a PC hears itself on the cable.
namespace {

constexpr uint16_t kPrimary = 38999;
constexpr uint16_t kLegacy = 58999;

bool HasPeer(const std::string& id) {
    for (const PeerRecord& r : Discovery::GetDiscoveredDevices())
        if (r.id == id)
            return true;
    return false;
}

class DiscoveryWine : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        const char* link = std::getenv("TSLY_TEST_LINK_ADDRESS");
        m_link = link != nullptr ? link : "";
        Discovery::ClearPeerCacheForDeviceRemoval(); // peers of an earlier test
    }
    void TearDown() override {
        Discovery::Stop();
        Log::Close();
        WSACleanup();
    }
    // Starts the service and waits until both ports are bound.
    void StartAndWaitBound() {
        ASSERT_TRUE(Discovery::Start());
        std::string log =
            WaitForOwnLog("[DISCOVERY][COMPAT] legacy port=58999 active with primary port=38999", 5000);
        ASSERT_EQ(CountOf(log, "Discovery started primary=38999 legacy=58999 local_id=" +
                                 Discovery::CurrentLocalIdentity().id + "\r\n"),
                  1u)
            << log;
    }

    std::string m_link;
};

TEST_F(DiscoveryWine, BindsBothPortsAndIgnoresItsOwnBroadcast) {
    StartAndWaitBound();
    std::string log = OwnLog();
    EXPECT_EQ(CountOf(log, "[NET][BIND] udp discovery-primary port=38999 OK wsa=0\r\n"), 1u) << log;
    EXPECT_EQ(CountOf(log, "[DISCOVERY][BIND] role=primary port=38999 OK\r\n"), 1u) << log;
    EXPECT_EQ(CountOf(log, "[DISCOVERY][BIND] role=legacy port=58999 OK\r\n"), 1u) << log;

    // The broadcast reaches the discovery port (a second socket shares it to listen in).
    UniqueSocket listener = BoundUdp("0.0.0.0", kPrimary, SO_REUSEADDR);
    ASSERT_TRUE(listener.Valid());
    DWORD timeout = 3000;
    ::setsockopt(listener.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                 sizeof timeout);
    char buffer[1024];
    sockaddr_in from = {};
    int fromSize = sizeof from;
    int got = ::recvfrom(listener.Get(), buffer, sizeof buffer - 1, 0, reinterpret_cast<sockaddr*>(&from),
                         &fromSize);
    listener.Reset();
    ASSERT_GT(got, 0) << "wsa=" << WSAGetLastError();
    std::string own = Discovery::BuildDiscoverMessage(Discovery::CurrentLocalIdentity());
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(got)), own);

    // A second later, after further broadcasts the service heard too, it still knows no peer.
    Sleep(1200);
    EXPECT_TRUE(Discovery::GetDiscoveredDevices().empty());
    log = OwnLog();
    EXPECT_EQ(CountOf(log, "Discovery found device"), 0u) << log;
    EXPECT_EQ(CountOf(log, "Discovery broadcast 10.255.255.255"), 0u) << log; // every send succeeded
}

TEST_F(DiscoveryWine, APeerOnTheLinkIsFoundCheckedAndExpired) {
    if (m_link.empty())
        GTEST_SKIP() << "no link address in this namespace";
    StartAndWaitBound();
    const char* link = m_link.c_str();
    // The own id from the link address is ignored; the datagram after it (same path, so it arrives after)
    // is a peer.
    std::string own = Discovery::BuildDiscoverMessage(Discovery::CurrentLocalIdentity());
    std::string peer = Discovery::BuildDiscoverMessage({"TSLY-WINEPEER", "WinePeer", "7"});
    ASSERT_TRUE(SendDatagram(link, link, kPrimary, own));
    ASSERT_TRUE(SendDatagram(link, link, kPrimary, peer));
    std::string log = WaitForOwnLog("Discovery found device name=WinePeer id=TSLY-WINEPEER ip=" + m_link, 3000);
    EXPECT_EQ(
        CountOf(log, "Discovery found device name=WinePeer id=TSLY-WINEPEER ip=" + m_link + " ver=7 ultra=1"),
        1u)
        << log;
    EXPECT_EQ(CountOf(log, "Discovery found device"), 1u) << log;
    EXPECT_TRUE(HasPeer("TSLY-WINEPEER"));
    EXPECT_TRUE(Discovery::IsPeerUltraCapable(m_link));

    // Nothing answers on its control port: two failed liveness checks, then it is gone (at about 1.2-1.7 s).
    DWORD sent = GetTickCount();
    log = WaitForOwnLog("Discovery expired device name=WinePeer id=TSLY-WINEPEER ip=" + m_link +
                         " reason=tcp-dead fail=2",
                     5000);
    DWORD gone = GetTickCount() - sent;
    EXPECT_EQ(CountOf(log, "reason=tcp-dead fail=2"), 1u) << log;
    EXPECT_LT(gone, 2501u);
    EXPECT_FALSE(HasPeer("TSLY-WINEPEER"));
}

TEST_F(DiscoveryWine, APeerWhoseControlPortAnswersLeavesByAgeAlone) {
    if (m_link.empty())
        GTEST_SKIP() << "no link address in this namespace";
    UniqueSocket control(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = Address(m_link.c_str(), Discovery::kControlPort);
    ASSERT_EQ(::bind(control.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(control.Get(), 8), 0);
    StartAndWaitBound();
    ASSERT_TRUE(SendDatagram(m_link.c_str(), m_link.c_str(), kPrimary,
                             Discovery::BuildDiscoverMessage({"TSLY-ALIVE", "Alive", "7"})));
    WaitForOwnLog("Discovery found device name=Alive", 3000);
    DWORD sent = GetTickCount();
    std::string log = WaitForOwnLog("Discovery expired device name=Alive id=TSLY-ALIVE", 6000);
    DWORD gone = GetTickCount() - sent;
    EXPECT_EQ(CountOf(log, "Discovery expired device name=Alive id=TSLY-ALIVE ip=" + m_link +
                             " reason=udp-timeout fail=0"),
              1u)
        << log;
    EXPECT_GE(gone, 2000u);
}

TEST_F(DiscoveryWine, SendersOutsideTheLinkAreIgnored) {
    StartAndWaitBound();
    ASSERT_TRUE(SendDatagram("127.0.0.1", "127.0.0.1", kPrimary,
                             Discovery::BuildDiscoverMessage({"TSLY-LOOPBACK", "Loop", "7"})));
    ASSERT_TRUE(
        SendDatagram("127.0.0.1", "127.0.0.1", kLegacy, "TSLY_CONTROL_STOP;id=TSLY-LOOPBACK;name=Loop;"));
    std::string log = WaitForOwnLog("Discovery ignored TCP/UDP control from non-10 peer ip=127.0.0.1", 3000);
    EXPECT_EQ(CountOf(log, "Discovery ignored non-10 peer id=TSLY-LOOPBACK ip=127.0.0.1\r\n"), 1u) << log;
    EXPECT_EQ(CountOf(log, "Discovery ignored TCP/UDP control from non-10 peer ip=127.0.0.1\r\n"), 1u) << log;
    EXPECT_FALSE(HasPeer("TSLY-LOOPBACK"));
}

// Windows refuses a bind next to an exclusive owner with WSAEACCES.
TEST_F(DiscoveryWine, ATakenPrimaryPortIsRetriedEvery2sUntilItIsFree) {
    UniqueSocket holder = BoundUdp("0.0.0.0", kPrimary, SO_EXCLUSIVEADDRUSE);
    ASSERT_TRUE(holder.Valid());
    ASSERT_TRUE(Discovery::Start());
    std::string log = WaitForOwnLog("[DISCOVERY][BIND] role=primary port=38999 failed; retryMs=2000", 3000, 2);
    EXPECT_EQ(
        CountOf(log, "[NET][BIND] udp discovery-primary port=38999 ACCESS_DENIED_OR_EXCLUDED wsa=10013\r\n"),
        2u)
        << log;
    EXPECT_EQ(CountOf(log, "Discovery started"), 0u) << log;
    EXPECT_EQ(CountOf(log, "role=legacy"), 0u) << log; // nothing else happens until the primary is bound

    holder.Reset();
    log = WaitForOwnLog("Discovery started primary=38999", 3000);
    EXPECT_EQ(CountOf(log, "Discovery started primary=38999"), 1u) << log;
}

TEST_F(DiscoveryWine, ATakenLegacyPortIsReportedOnceAndDiscoveryRunsWithoutIt) {
    UniqueSocket holder = BoundUdp("0.0.0.0", kLegacy, SO_EXCLUSIVEADDRUSE);
    ASSERT_TRUE(holder.Valid());
    ASSERT_TRUE(Discovery::Start());
    std::string log = WaitForOwnLog(
        "[DISCOVERY][COMPAT] legacy port=58999 unavailable; primary port=38999 remains active", 3000);
    EXPECT_EQ(CountOf(log, "Discovery started primary=38999"), 1u) << log;
    EXPECT_EQ(CountOf(log, "[NET][BIND] udp discovery-legacy port=58999 ACCESS_DENIED_OR_EXCLUDED wsa=10013"),
              1u)
        << log;
    if (m_link.empty())
        return;
    ASSERT_TRUE(SendDatagram(m_link.c_str(), m_link.c_str(), kPrimary,
                             Discovery::BuildDiscoverMessage({"TSLY-PRIMARYONLY", "PrimaryOnly", "7"})));
    log = WaitForOwnLog("Discovery found device name=PrimaryOnly", 3000);
    EXPECT_EQ(CountOf(log, "Discovery found device name=PrimaryOnly"), 1u) << log;
    EXPECT_EQ(CountOf(log, "legacy port=58999 unavailable"), 1u) << log; // logged once
}

TEST_F(DiscoveryWine, StopIsPromptReleasesThePortsAndTheServiceStartsAgain) {
    Discovery::Stop(); // safe without a start
    StartAndWaitBound();
    DWORD before = GetTickCount();
    Discovery::Stop();
    EXPECT_LT(GetTickCount() - before, 1000u);
    std::string log = OwnLog();
    EXPECT_EQ(CountOf(log, "DiscoveryStop wasRunning=1"), 1u) << log;
    EXPECT_EQ(CountOf(log, "Discovery stopped"), 1u) << log;

    // Both ports are free again: even an exclusive bind succeeds.
    {
        UniqueSocket primary = BoundUdp("0.0.0.0", kPrimary, SO_EXCLUSIVEADDRUSE);
        UniqueSocket legacy = BoundUdp("0.0.0.0", kLegacy, SO_EXCLUSIVEADDRUSE);
        EXPECT_TRUE(primary.Valid());
        EXPECT_TRUE(legacy.Valid());
    }
    ASSERT_TRUE(Discovery::Start());
    log = WaitForOwnLog("Discovery started primary=38999", 3000, 2);
    EXPECT_EQ(CountOf(log, "Discovery started primary=38999"), 2u) << log;
    EXPECT_TRUE(Discovery::Start()); // already running
}

} // namespace
