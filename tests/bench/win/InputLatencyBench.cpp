// Input latency across the link, for tests/bench/input_latency.sh: from the controller's enqueue to SendInput
// on the controlled PC, over the real input channel (InputChannel as client in one process, as host in the
// other).
//   InputLatencyBench host <port> <peer-ip> <count>
//   InputLatencyBench client <ip> <port> <count>
// Every packet is a key-up of VK_F24 (harmless) with its sequence number in y. The host's injector calls
// SendInput for it and notes the QueryPerformanceCounter time; the client notes the time just before each
// enqueue. Both print "T <seq> <microseconds>" lines (the counter is the machine's monotonic clock, shared by
// both processes); the host prints "READY" once it listens, and "DONE" when every packet arrived. The client
// enqueues one packet about every millisecond, the rate of a fast mouse, so each packet's time is its own
// trip and not a wait behind a burst queued at the same instant. Every wait is bounded.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/win/TextConvert.h"
#include "input/InputPacket.h"
#include "input/win/InputChannel.h"

namespace {

constexpr DWORD kHostLimitMs = 120000;
constexpr DWORD kConnectLimitMs = 30000;
constexpr DWORD kSendLimitMs = 60000;
constexpr int32_t kScanF24 = 0x76;

double Microseconds(LONGLONG ticks) {
    static LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency);
}

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

bool WaitUntil(const std::atomic<bool>& flag, DWORD limitMs) {
    const ULONGLONG start = GetTickCount64();
    while (!flag.load()) {
        if (GetTickCount64() - start > limitMs)
            return false;
        Sleep(1);
    }
    return true;
}

void PrintTimes(const std::vector<LONGLONG>& times) {
    for (size_t i = 0; i < times.size(); ++i)
        if (times[i] != 0)
            std::printf("T %zu %.1f\n", i, Microseconds(times[i]));
}

int Host(uint16_t port, const std::string& peer, int count) {
    std::vector<LONGLONG> times(static_cast<size_t>(count), 0);
    std::atomic<int> received{0};
    std::atomic<bool> done{false};
    std::atomic<int> failedInputs{0};
    InputChannel& channel = InputChannel::Instance();
    channel.SetPeerFilter([peer](const std::string& ip) { return ip == peer; });
    channel.SetInjector([&](const InputPacket& packet) {
        if (!packet.Is(InputPacketType::Key) || packet.data1 != VK_F24 || packet.y < 0 || packet.y >= count)
            return;
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_F24;
        input.ki.wScan = kScanF24;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(1, &input, sizeof input) != 1)
            ++failedInputs;
        times[static_cast<size_t>(packet.y)] = Now();
        if (++received == count)
            done.store(true);
    });
    if (!channel.StartHost(port))
        return 1;
    std::printf("READY\n");
    std::fflush(stdout);
    const bool all = WaitUntil(done, kHostLimitMs);
    channel.Stop();
    PrintTimes(times);
    if (failedInputs.load() > 0)
        std::fprintf(stderr, "host: SendInput failed %d times\n", failedInputs.load());
    if (!all) {
        std::fprintf(stderr, "host: %d of %d packets\n", received.load(), count);
        return 1;
    }
    std::printf("DONE\n");
    return 0;
}

int Client(const std::string& ip, uint16_t port, int count) {
    InputChannel& channel = InputChannel::Instance();
    if (!channel.StartClient(ip, port, false))
        return 1;
    const ULONGLONG start = GetTickCount64();
    while (!channel.IsConnected()) {
        if (GetTickCount64() - start > kConnectLimitMs) {
            std::fprintf(stderr, "client: no connection\n");
            return 1;
        }
        Sleep(5);
    }
    std::vector<LONGLONG> times(static_cast<size_t>(count), 0);
    const ULONGLONG sendStart = GetTickCount64();
    for (int seq = 0; seq < count; ++seq) {
        times[static_cast<size_t>(seq)] = Now();
        channel.EnqueuePacket(MakeInputPacket(InputPacketType::Key, kScanF24, seq, VK_F24, 0));
        Sleep(1);
        if (GetTickCount64() - sendStart > kSendLimitMs) {
            std::fprintf(stderr, "client: sending took too long\n");
            return 1;
        }
    }
    // The last packet may still be in the send thread's hands.
    Sleep(1000);
    channel.Stop();
    PrintTimes(times);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(WideToUtf8(argv[i]));
    if (args.size() == 4 && args[0] == "host")
        return Host(static_cast<uint16_t>(std::atoi(args[1].c_str())), args[2], std::atoi(args[3].c_str()));
    if (args.size() == 4 && args[0] == "client")
        return Client(args[1], static_cast<uint16_t>(std::atoi(args[2].c_str())), std::atoi(args[3].c_str()));
    std::fprintf(stderr,
                 "usage: InputLatencyBench host <port> <peer-ip> <count> | client <ip> <port> <count>\n");
    return 2;
}
