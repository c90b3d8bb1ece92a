#pragma once

#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/AudioWaveFormat.h"
#include "media/win/AudioDevice.h"

// A playback device for the loopback sender on systems whose loopback capture cannot run (Wine has no
// capture client for a loopback stream): a device enumerator whose default render endpoint hands out an
// audio client with a capture client. The client "plays" a steady tone of one value: from Start on, frames
// become available at the mix format's rate, in packets of 10 ms. The script below is shared by every
// object the factory makes, so a test can change the endpoint or make a call fail while the sender runs.
struct FakeAudioScript {
    std::mutex mutex;
    std::string endpointId = "{fake-endpoint-1}"; // under mutex
    AudioWaveFormat mix;                          // under mutex; float stereo 48 kHz (extensible)
    float sample = 0.5f;                          // every captured sample

    // A failure for the next call of each kind (S_OK: none); each is taken by one call.
    std::atomic<HRESULT> activateError{S_OK};
    std::atomic<HRESULT> nextPacketError{S_OK};
    std::atomic<HRESULT> getBufferError{S_OK};
    // How many of the next GetBuffer calls flag the buffer silent.
    std::atomic<int> silentBuffers{0};

    std::atomic<int> enumeratorsMade{0};
    std::atomic<int> clientsStarted{0};
    std::atomic<int> clientsInitialized{0};
    std::atomic<DWORD> lastInitializeFlags{0};
    std::atomic<int> eventsSet{0};

    FakeAudioScript();
    std::string EndpointId();
    void SetEndpointId(const std::string& id);
};

// The factory the sender is given: every call makes a fresh enumerator over script.
AudioEnumeratorFactory FakeAudioEnumeratorFactory(std::shared_ptr<FakeAudioScript> script);
