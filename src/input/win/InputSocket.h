#pragma once

#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/win/SocketWait.h"
#include "input/InputRecordReader.h"

// Socket steps of the input channel: options, whole-record sends and time-bounded record reads.

// SO_KEEPALIVE on, then SIO_KEEPALIVE_VALS {on, 1500 ms idle, 500 ms between probes}, so a peer that
// vanished without a FIN is noticed within a few seconds.
void SetInputSocketKeepAlive(SOCKET socket);
// TCP_NODELAY on: every record leaves at once.
void SetInputSocketNoDelay(SOCKET socket);

// Sends every byte unless an error comes first or, on a non-blocking socket, there is no room until
// timeoutMs have passed; the bytes sent, with wsa set on a failure (WSAETIMEDOUT for the time-out).
// Handshaken connections are non-blocking so this wait, not SO_SNDTIMEO, bounds a send: a peer that stops
// reading must not hold the channel's send lock for longer than that.
int SendExactSocket(SOCKET socket, const uint8_t* data, size_t size, uint32_t timeoutMs, int& wsa);
// Encodes and sends one record (stall scope "SendExactSocket").
int SendInputRecord(SOCKET socket, const InputPacket& packet, uint32_t timeoutMs, int& wsa);

// How a wait for one record ended.
struct RecordRead {
    InputRecordReader::Result result = InputRecordReader::Result::NeedMore;
    InputPacket packet;
    uint32_t magic = 0; // the first four bytes on BadMagic
    int got = 0;        // bytes buffered when it gave up (the record's own when it came)
    int wsa = 0;        // WSAETIMEDOUT when the time ran out, 0 when the peer closed, else the error
    bool closed = false;
};
// Waits up to timeoutMs for reader to hold a whole record, reading what the socket brings into it (never
// more than it has room for, so bytes past the record stay buffered). Partial bytes stay in the reader
// when the time runs out.
RecordRead ReadInputRecord(SOCKET socket, InputRecordReader& reader, uint32_t timeoutMs);
