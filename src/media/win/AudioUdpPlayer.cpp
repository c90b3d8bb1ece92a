#include "media/win/AudioUdpPlayer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>
#include <vector>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/CloseHelpers.h"
#include "core/win/Handles.h"
#include "core/win/SocketAddress.h"
#include "media/AudioPacket.h"
#include "media/AudioPlayerCore.h"
#include "media/SessionClock.h"
#include "media/win/AudioRenderPipeline.h"
#include "media/win/AudioRunSocket.h"

namespace {

constexpr const char* kThreadName = "AudioUdpPlayer";
constexpr const char* kCloseLabel = "AudioUdpPlayer::CloseSocket";
constexpr uint32_t kSocketRetryMs = 1000;
constexpr uint32_t kRebindPauseMs = 200;
constexpr int kReceiveBufferBytes = 512 * 1024;
// The receive time-out is the loop's pace: the device is fed at least this often.
constexpr DWORD kReceiveTimeoutMs = 5;
constexpr uint32_t kEverySecondMs = 1000;

// One worker run: binds the audio port (again after a receive error), receives, and plays.
class PlayerRun {
public:
    using Allowed = std::function<bool(const std::string& ip)>;

    PlayerRun(uint16_t port, AudioRunSocket& slot, AudioUdpPlayer::Counters& counters,
              AudioEnumeratorFactory factory, const StopSignal& stop, Allowed allowed)
        : m_port(port), m_slot(slot), m_counters(counters), m_pipeline(std::move(factory)), m_stop(stop),
          m_allowed(std::move(allowed)), m_buffer(kAudioMaxDatagramBytes) {}

    void Loop() {
        while (!m_stop.StopRequested()) {
            UniqueSocket socket = Bind();
            if (!socket.Valid())
                break;
            if (!m_slot.Publish(socket.Get())) {
                CloseSocketLogged(socket.Release(), kCloseLabel);
                break;
            }
            {
                const AudioRunSocketPublication published(m_slot);
                Log::Write("Audio player UDP bind OK listen=0.0.0.0:%u after_retry=%u", unsigned(m_port),
                           m_retries);
                ++m_counters.binds;
                m_retries = 0;
                Receive(socket.Get());
            }
            CloseSocketLogged(socket.Release(), kCloseLabel);
        }
        ReleasePipeline();
    }

private:
    // A bound socket, retried once a second until it exists or the run stops (then invalid).
    UniqueSocket Bind() {
        while (!m_stop.StopRequested()) {
            UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
            if (!socket.Valid()) {
                Log::Write("Audio player socket failed wsa=%d; retry in 1000ms", ::WSAGetLastError());
            } else {
                const BOOL reuse = TRUE;
                ::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
                             sizeof reuse);
                const int receiveBuffer = kReceiveBufferBytes;
                ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVBUF,
                             reinterpret_cast<const char*>(&receiveBuffer), sizeof receiveBuffer);
                const DWORD timeout = kReceiveTimeoutMs;
                ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                             sizeof timeout);
                sockaddr_in address = {};
                address.sin_family = AF_INET;
                address.sin_port = htons(m_port);
                address.sin_addr.s_addr = htonl(INADDR_ANY);
                if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
                    return socket;
                Log::Write("Audio player bind failed port=%u wsa=%d; retry in 1000ms", unsigned(m_port),
                           ::WSAGetLastError());
            }
            ++m_retries;
            m_stop.WaitFor(kSocketRetryMs);
        }
        return UniqueSocket();
    }

    // Receives and plays until the run stops or a receive error asks for a new socket.
    void Receive(SOCKET socket) {
        while (!m_stop.StopRequested()) {
            sockaddr_in from = {};
            int fromSize = sizeof from;
            const int received = ::recvfrom(socket, reinterpret_cast<char*>(m_buffer.data()),
                                            static_cast<int>(m_buffer.size()), 0,
                                            reinterpret_cast<sockaddr*>(&from), &fromSize);
            if (received == SOCKET_ERROR) {
                const int wsa = ::WSAGetLastError();
                if (m_stop.StopRequested())
                    return;
                if (wsa == WSAEMSGSIZE) {
                    // Larger than any sender builds: dropped like any other malformed datagram; the socket
                    // and the pipeline are fine.
                    if (LogThrottle::Allow("audio.player.oversize", kEverySecondMs))
                        Log::Write("[AUDIO][PLAYER] datagram above %u bytes ignored",
                                   unsigned(kAudioMaxDatagramBytes));
                } else if (wsa != WSAETIMEDOUT) {
                    Log::Write("Audio player recvfrom failed wsa=%d; rebind socket", wsa);
                    ReleasePipeline();
                    m_stop.WaitFor(kRebindPauseMs);
                    return;
                }
            } else {
                OnDatagram(static_cast<size_t>(received), from);
            }
            Feed();
            CheckEndpoint();
        }
    }

    void OnDatagram(size_t size, const sockaddr_in& from) {
        const std::string ip = DottedIpv4(from);
        if (!m_allowed(ip)) {
            ++m_counters.refused;
            if (LogThrottle::Allow("audio.player.peer.refused", kEverySecondMs))
                Log::Write("[AUDIO][PLAYER] datagram refused from=%s reason=not-active-peer", ip.c_str());
            return;
        }
        ++m_counters.datagrams;
        if (m_core.OnDatagram(m_buffer.data(), size) == AudioPlayerCore::Action::BuildPipeline)
            BuildPipeline();
    }

    void BuildPipeline() {
        m_pipeline.Release();
        if (!m_pipeline.Build(m_core.RemoteFormat(), m_proAudio))
            return;
        m_core.PipelineStarted(m_pipeline.RenderFormat());
        m_endpointTick = Log::TickCount();
        ++m_counters.pipelineBuilds;
    }

    void ReleasePipeline() {
        m_pipeline.Release();
        m_core.PipelineReleased();
    }

    void Feed() {
        if (!m_core.PipelineRunning())
            return;
        AudioJitterQueue& queue = m_core.Queue();
        const uint64_t underruns = queue.Underruns();
        const AudioRenderPipeline::FeedResult fed = m_pipeline.Feed(queue);
        m_counters.framesWritten += fed.framesWritten;
        m_counters.underruns += queue.Underruns() - underruns;
        if (fed.deviceLost)
            ReleasePipeline();
    }

    void CheckEndpoint() {
        if (!m_core.PipelineRunning() || !TickRateLimit(m_endpointTick, kEverySecondMs))
            return;
        const std::string now = m_pipeline.CurrentDefaultEndpointId();
        if (now == m_pipeline.EndpointId())
            return;
        Log::Write("Audio player default render endpoint changed; rebuild old=%s new=%s",
                   m_pipeline.EndpointId().c_str(), now.c_str());
        m_core.PipelineReleased();
        BuildPipeline();
    }

    const uint16_t m_port;
    AudioRunSocket& m_slot;
    AudioUdpPlayer::Counters& m_counters;
    AudioRenderPipeline m_pipeline;
    const StopSignal& m_stop;
    const Allowed m_allowed;
    std::vector<uint8_t> m_buffer;
    AudioPlayerCore m_core;
    ProAudioClass m_proAudio;
    uint32_t m_retries = 0;
    uint32_t m_endpointTick = 0;
};

} // namespace

AudioUdpPlayer& AudioUdpPlayer::Instance() {
    static AudioUdpPlayer* player = new AudioUdpPlayer();
    return *player;
}

void AudioUdpPlayer::SetPeerFilter(PeerFilter::Allows filter) {
    m_peerFilter.Set(std::move(filter));
}

void AudioUdpPlayer::SetEnumeratorFactory(AudioEnumeratorFactory factory) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_factory = std::move(factory);
}

std::shared_ptr<const AudioUdpPlayer::Counters> AudioUdpPlayer::CurrentCounters() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_counters;
}

bool AudioUdpPlayer::PeerAllowed(const std::string& ip) const {
    return m_peerFilter.Allowed(ip);
}

bool AudioUdpPlayer::Start(uint16_t port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Log::Write("AudioUdpPlayer::Start port=%u", unsigned(port));
    auto counters = std::make_shared<Counters>();
    m_counters = counters;
    return m_worker.Start(
        [this, port, counters, factory = m_factory](const StopSignal& stop, AudioRunSocket& socket) {
            Log::Write("AudioUdpPlayer start with jitter buffer port=%u", unsigned(port));
            ComApartment com;
            {
                PlayerRun run(port, socket, *counters, factory, stop,
                              [this](const std::string& ip) { return PeerAllowed(ip); });
                run.Loop();
            }
            Log::Write("AudioUdpPlayer exit");
        });
}

void AudioUdpPlayer::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_worker.Stop();
}
