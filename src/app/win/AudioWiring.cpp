#include "app/win/AudioWiring.h"

#include <string>

#include "app/TransportLifecycleModule.h"
#include "link/KvmSessionManager.h"
#include "media/win/AudioLoopbackSender.h"
#include "media/win/AudioUdpPlayer.h"

void ConnectAudioServices() {
    // Kept to process end: the player's detached workers may still call the filter at exit.
    AudioUdpPlayer::Instance().SetPeerFilter(
        [](const std::string& ip) { return KvmSessionManager::Instance().IsActivePeer(ip); });
    TransportLifecycleModule::BindAudioStop([] { AudioUdpPlayer::Instance().Stop(); },
                                            [] { AudioLoopbackSender::Instance().Stop(); });
}
