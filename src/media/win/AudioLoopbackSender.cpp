#include "media/win/AudioLoopbackSender.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>
#include <vector>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/CloseHelpers.h"
#include "core/win/Handles.h"
#include "media/AudioPacket.h"
#include "media/AudioPacketizer.h"
#include "media/SessionClock.h"
#include "media/win/AudioCapturePipeline.h"
#include "media/win/AudioRunSocket.h"

namespace {

constexpr const char* kThreadName = "AudioLoopbackSender";
constexpr const char* kCloseLabel = "AudioLoopbackSender::CloseSocket";
constexpr uint32_t kSocketRetryMs = 1000;
constexpr uint32_t kPipelineRetryMs = 500;
constexpr DWORD kEventWaitMs = 100;
constexpr DWORD kSendTimeoutMs = 100;
constexpr uint32_t kEverySecondMs = 1000;

// One worker run after its socket is ready: builds the capture pipeline, drains it and sends until the
// run's stop, rebuilding the pipeline after every device failure or endpoint change.
class SenderRun {
public:
    SenderRun(SOCKET socket, const sockaddr_in& peer, AudioEnumeratorFactory factory, const StopSignal& stop)
        : m_socket(socket), m_peer(peer), m_pipeline(std::move(factory)), m_stop(stop) {}

    void Loop() {
        while (!m_stop.StopRequested()) {
            if (!m_pipeline.Built() && !BuildPipeline()) {
                m_pipeline.Release();
                Log::Write("Audio capture pipeline will retry in 500ms");
                m_stop.WaitFor(kPipelineRetryMs);
                continue;
            }
            if (!CaptureOnce())
                m_pipeline.Release();
        }
        m_pipeline.Release();
    }

private:
    bool BuildPipeline() {
        if (++m_builds > 1)
            Log::Write("Audio capture pipeline rebuild #%u", m_builds);
        if (!m_pipeline.Build())
            return false;
        m_rate = MakeAudioStreamFormat(m_pipeline.MixFormat().sampleRate).sampleRate;
        m_packetizer.SetRate(m_rate);
        Log::Write("audio host format PCM16 ch=%u rate=%u bits=%u block=%u avg=%u packet=10ms",
                   unsigned(kAudioStreamChannels), m_rate, unsigned(kAudioStreamBits),
                   unsigned(kAudioStreamBlockAlign), m_rate * kAudioStreamBlockAlign);
        SendFormat();
        m_proAudio.Join(kThreadName);
        if (!m_pipeline.Start())
            return false;
        Log::Write("Audio loopback started/reconnected");
        const uint32_t now = Log::TickCount();
        m_endpointTick = now;
        m_formatTick = now;
        if (m_statTick == 0)
            m_statTick = now;
        return true;
    }

    // One wait and drain; false when the pipeline must be rebuilt (logged).
    bool CaptureOnce() {
        const DWORD wait = ::WaitForSingleObject(m_pipeline.Event(), kEventWaitMs);
        if (wait != WAIT_OBJECT_0 && wait != WAIT_TIMEOUT) {
            Log::Write("Audio wait failed wr=%lu; rebuild", static_cast<unsigned long>(wait));
            return false;
        }
        if (TickRateLimit(m_endpointTick, kEverySecondMs)) {
            const std::string now = m_pipeline.CurrentDefaultEndpointId();
            if (now != m_pipeline.EndpointId()) {
                Log::Write("Audio capture default render endpoint changed; rebuild old=%s new=%s",
                           m_pipeline.EndpointId().c_str(), now.c_str());
                return false;
            }
        }
        if (TickRateLimit(m_formatTick, kEverySecondMs))
            SendFormat();
        m_pcm.clear();
        const AudioCapturePipeline::Drain drained = m_pipeline.DrainInto(m_pcm);
        m_packetizer.Cut(m_pcm.data(), m_pcm.size(),
                         [this](const uint8_t* datagram, size_t size) { SendDatagram(datagram, size); });
        if (TickRateLimit(m_statTick, kEverySecondMs)) {
            Log::Write("audio host stat seq=%u bytesSent=%llu", m_packetizer.Sequence(),
                       static_cast<unsigned long long>(m_bytesSent));
            m_bytesSent = 0;
        }
        return drained == AudioCapturePipeline::Drain::Ok;
    }

    void SendFormat() {
        const std::vector<uint8_t> format = BuildAudioFormatDatagram(m_rate);
        SendDatagram(format.data(), format.size());
    }

    // One sendto, never retried: a lost datagram costs 10 ms of sound.
    void SendDatagram(const uint8_t* datagram, size_t size) {
        const int sent = ::sendto(m_socket, reinterpret_cast<const char*>(datagram), static_cast<int>(size),
                                  0, reinterpret_cast<const sockaddr*>(&m_peer), sizeof m_peer);
        if (sent == SOCKET_ERROR) {
            const int wsa = ::WSAGetLastError();
            // A stop shuts the socket down under a send in progress: that failure is the stop itself. An
            // unreachable peer fails every datagram, a hundred a second.
            if (!m_stop.StopRequested() && LogThrottle::Allow("audio.sender.sendto", kEverySecondMs))
                Log::Write("Audio sendto failed wsa=%d", wsa);
            return;
        }
        m_bytesSent += static_cast<uint64_t>(sent);
    }

    SOCKET m_socket;
    sockaddr_in m_peer;
    AudioCapturePipeline m_pipeline;
    const StopSignal& m_stop;
    AudioPacketizer m_packetizer;
    ProAudioClass m_proAudio;
    std::vector<uint8_t> m_pcm;
    uint32_t m_rate = kAudioDefaultRate;
    uint32_t m_builds = 0;
    uint32_t m_endpointTick = 0;
    uint32_t m_formatTick = 0;
    uint32_t m_statTick = 0;
    uint64_t m_bytesSent = 0;
};

// A UDP socket, retried once a second until it exists or the run stops (then invalid).
UniqueSocket OpenSenderSocket(const StopSignal& stop) {
    while (!stop.StopRequested()) {
        UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
        if (socket.Valid()) {
            // A send blocked on a full buffer gives up, so the run sees its stop soon whatever the socket
            // does.
            const DWORD timeout = kSendTimeoutMs;
            ::setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
                         sizeof timeout);
            return socket;
        }
        Log::Write("Audio sender socket failed wsa=%d; retry in 1000ms", ::WSAGetLastError());
        stop.WaitFor(kSocketRetryMs);
    }
    return UniqueSocket();
}

// The body of one run.
void RunSender(const std::string& peerIp, uint16_t port, const AudioEnumeratorFactory& factory,
               const StopSignal& stop, AudioRunSocket& slot) {
    Log::Write("AudioLoopbackSender start with reconnect peer=%s:%u", peerIp.c_str(), unsigned(port));
    sockaddr_in peer = {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (::inet_pton(AF_INET, peerIp.c_str(), &peer.sin_addr) != 1) {
        Log::Write("Audio sender invalid peer ip=%s", peerIp.c_str());
    } else {
        ComApartment com;
        UniqueSocket socket = OpenSenderSocket(stop);
        if (socket.Valid() && slot.Publish(socket.Get())) {
            const AudioRunSocketPublication published(slot);
            Log::Write("Audio sender UDP socket ready peer=%s:%u", peerIp.c_str(), unsigned(port));
            SenderRun run(socket.Get(), peer, factory, stop);
            run.Loop();
        }
        CloseSocketLogged(socket.Release(), kCloseLabel);
    }
    Log::Write("AudioLoopbackSender exit");
}

} // namespace

AudioLoopbackSender& AudioLoopbackSender::Instance() {
    static AudioLoopbackSender* sender = new AudioLoopbackSender();
    return *sender;
}

void AudioLoopbackSender::SetEnumeratorFactory(AudioEnumeratorFactory factory) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_factory = std::move(factory);
}

bool AudioLoopbackSender::Start(const std::string& peerIp, uint16_t port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Log::Write("AudioLoopbackSender::Start peer=%s port=%u", peerIp.c_str(), unsigned(port));
    return m_worker.Start(
        [peerIp, port, factory = m_factory](const StopSignal& stop, AudioRunSocket& socket) {
            RunSender(peerIp, port, factory, stop, socket);
        });
}

void AudioLoopbackSender::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_worker.Stop();
}
