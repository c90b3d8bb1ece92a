#pragma once

#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/PeerFilter.h"
#include "core/win/Handles.h"
#include "input/InputPacket.h"
#include "input/InputQueues.h"
#include "input/InputRecordReader.h"
#include "input/InputSender.h"

// The input channel: keyboard, mouse and a few commands from the controller to the controlled PC over one
// TCP connection of 24-byte records (input/InputPacket.h). One process-wide object. As host (controlled PC)
// it listens, accepts the controller, checks its HELLO, answers ACK and hands every later record to the
// injector. As client (controller) it connects, proves the connection with HELLO/ACK and sends the queued
// packets from its own thread. Progress goes to the state manager as channel 1 and tcpInputConnected.
//
// Runs are numbered: every Start and every Stop bumps the run generation, and each thread serves one run.
// Threads are detached, never joined: each loop re-checks `running` and its own generation and leaves on
// its own, without touching shared state once its run is over.
//
// Sockets: the listener belongs to the channel (Stop closes it at once, so the port is free for the next
// run). A handshaken connection belongs to the thread that serves it; the channel publishes it as the
// connection for sends and, to retire it, only shuts it down, so no thread ever reads from a handle that was
// closed and handed out again. The owner closes it after it was retired.
//
// Locks: send mutex, then socket mutex (every send on the connection, every publish and retire). The queue
// mutex is never held with either. The state mutex serialises Start and Stop.
class InputChannel final : public IInputSender {
public:
    using Injector = std::function<void(const InputPacket&)>;

    // Built on first use and never destroyed (detached threads may outlive every static).
    static InputChannel& Instance();

    // Host: listens on 0.0.0.0:port. False when its thread could not be started.
    bool StartHost(uint16_t port);
    // Client: connects to peer (dotted IPv4) and keeps reconnecting while the run lasts. Without force, a run
    // for the same peer and port is kept.
    bool StartClient(const std::string& peer, uint16_t port, bool force);
    void Stop();

    bool SendPacket(const InputPacket& packet) override;
    bool EnqueuePacket(const InputPacket& packet) override;
    bool SendPriorityPacket(const InputPacket& packet) override;
    size_t PurgeMoves(const char* reason) override;
    bool IsConnected() const override { return m_connected.load(); }

    // Retires the connection and the connecting socket (shut down; their threads close them) and closes the
    // listener; connected clears.
    void CloseSockets();

    // Receives every record the host accepts, on the thread serving the connection. Default: dropped.
    void SetInjector(Injector injector);
    // Host: decides from a new connection's dotted IPv4 address whether it is served; a refused one is
    // closed at once. Default: every address.
    void SetPeerFilter(PeerFilter::Allows filter);

    bool IsRunning() const { return m_running.load(); }
    bool IsClientMode() const { return m_clientMode.load(); }
    uint64_t RunGeneration() const { return m_runGen.load(); }
    // Packets waiting in the priority and normal queues.
    size_t QueuedPackets();

private:
    InputChannel() = default;

    bool IsCurrent(uint64_t gen) const { return m_running.load() && m_runGen.load() == gen; }
    void StopLocked();
    // A thread of run gen failed: when gen is still the newest run, running clears and the sockets close.
    // Takes the state mutex: never called with a socket lock held.
    void EndRunIfCurrent(uint64_t gen);
    // Publishes a handshaken connection of run gen as the channel's socket, under the send and socket
    // mutexes; a connection it replaces is shut down. False when gen is no longer the current run.
    bool PublishConnection(SOCKET socket, uint64_t gen);
    void Inject(const InputPacket& packet);
    bool PeerAllowed(const std::string& ip);
    // Runs a thread body with the thread's start, stop and exception lines; an exception of a current run
    // clears running and closes the sockets.
    void RunThread(const char* name, uint64_t gen, const std::function<void()>& body);

    // Host side (InputChannelHost.cpp).
    void HostThread(uint16_t port, uint64_t gen);
    bool HostListen(uint16_t port, uint64_t gen, SOCKET& listener);
    // Accepts one connection under the socket mutex, so a listener closed by Stop is never used again.
    // false ends the accept loop.
    bool HostAcceptOne(SOCKET listener, uint64_t gen, UniqueSocket& accepted, sockaddr_in& from);
    // Handshake, publish, and hand the connection to a thread of its own, so the accept loop goes on: a
    // controller that comes back after a crash replaces its half-open connection at once.
    void HostServeAccepted(UniqueSocket socket, const std::string& ip, uint16_t peerPort, uint64_t gen);
    // The thread "InputHostConnection": owns socket, reads and injects until the connection ends, retires
    // and closes it.
    void HostConnection(SOCKET socket, const std::shared_ptr<InputRecordReader>& reader, uint64_t acceptGen,
                        uint64_t gen);
    void HostReceive(SOCKET socket, InputRecordReader& reader, uint64_t acceptGen, uint64_t gen);
    bool HostAnswerHello(SOCKET socket, uint64_t gen, int32_t nonce);
    // Unpublishes the connection when it is still the published one; the last connection of a current run
    // reports the disconnect.
    void HostRetire(SOCKET socket, uint64_t acceptGen, uint64_t gen);

    // Client side (InputChannelClient.cpp).
    void ClientConnectThread(const std::string& peer, uint16_t port, uint64_t gen);
    // One connect, handshake and watch. False when the thread must end (no socket, a bad address, the run
    // ended); true to retry after the pause.
    bool ClientConnectOnce(const std::string& peer, uint16_t port, uint64_t gen);
    // Connects without blocking past a Stop: 0 when connected, else the Winsock error.
    int ClientConnect(SOCKET socket, const sockaddr_in& address, uint64_t gen);
    // Watches a handshaken connection until the peer closes it, it fails or it is retired; the error.
    int ClientWatch(SOCKET socket, uint64_t gen);
    void ClientSendThread(uint64_t gen);
    // Sends one taken packet once a connection is up; false when the run ended.
    bool ClientSendTaken(const TakenInputPacket& taken, uint64_t gen);
    void ClientPause(uint64_t gen);

    std::mutex m_stateMutex;
    std::atomic<uint64_t> m_runGen{0};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_clientMode{false};
    std::atomic<bool> m_connected{false};

    // Under m_socketMutex.
    SOCKET m_socket = INVALID_SOCKET; // owned by the thread serving it
    uint64_t m_socketGen = 0;
    UniqueSocket m_listenSocket;
    uint64_t m_listenGen = 0;
    SOCKET m_connectSocket = INVALID_SOCKET; // owned by the connect thread
    uint64_t m_connectGen = 0;
    std::mutex m_socketMutex;
    std::mutex m_sendMutex;

    // Under m_stateMutex.
    std::thread m_thread;
    std::thread m_sendThread;
    std::string m_peer;
    uint16_t m_port = 0;

    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    InputQueues m_queues;

    std::mutex m_hooksMutex;
    Injector m_injector; // under m_hooksMutex
    PeerFilter m_peerFilter;

    std::atomic<uint64_t> m_sendOkMoves{0};
    std::atomic<uint64_t> m_recvMoves{0};
};
