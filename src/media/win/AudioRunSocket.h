#pragma once

#include <winsock2.h>

#include <mutex>

// The UDP socket of one worker run of the audio sender or player. The worker creates, uses and closes it;
// Stop only shuts it down, and only while the worker still holds it, so no thread ever closes a handle a run
// is using (or one that was closed and handed out again). On Windows the shutdown ends a blocking call at
// once; the workers bound every socket call with a time-out besides (Wine does not wake a blocked receive).
class AudioRunSocket {
public:
    // Publishes the worker's new socket. False when the run was stopped already: the worker closes the
    // socket itself and ends.
    bool Publish(SOCKET socket);
    // Unpublishes it before the worker closes it.
    void Withdraw();
    // The run is over: a published socket is shut down, so nothing more is sent or received on it.
    void Wake();

private:
    std::mutex m_mutex;
    SOCKET m_socket = INVALID_SOCKET; // under m_mutex
    bool m_stopped = false;           // under m_mutex
};

// Keeps a socket published for one scope: withdraws it when the scope ends, also by an exception. Declared
// after the worker's own socket, so the withdrawal comes before the close.
class AudioRunSocketPublication {
public:
    explicit AudioRunSocketPublication(AudioRunSocket& slot) : m_slot(slot) {}
    ~AudioRunSocketPublication() { m_slot.Withdraw(); }
    AudioRunSocketPublication(const AudioRunSocketPublication&) = delete;
    AudioRunSocketPublication& operator=(const AudioRunSocketPublication&) = delete;

private:
    AudioRunSocket& m_slot;
};
