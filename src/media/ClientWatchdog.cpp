#include "media/ClientWatchdog.h"

#include <limits>

bool ClientClockDue(uint32_t& last, uint32_t now, uint32_t intervalMs) {
    if (last != 0 && now - last < intervalMs)
        return false;
    // 0 means "never": a pass at tick 0 still closes the interval.
    last = now != 0 ? now : 1;
    return true;
}

namespace {

void DecideLock(const ClientWatchdogFacts& f, ClientWatchdogActions& a, ClientWatchdogMemory& m) {
    const bool condition = f.desktopStateLocked || (a.longSilence && a.sideAlive);
    if (condition && m.lockMark == 0) {
        m.lockMark = f.now != 0 ? f.now : 1;
        a.lock = f.desktopStateLocked ? ClientLockChange::MarkDesktop : ClientLockChange::MarkSilence;
    } else if (condition && f.desktopStateLocked) {
        a.lock = ClientLockChange::StickyDesktop;
    } else if (!condition && m.lockMark != 0) {
        m.lockMark = 0;
        a.lock = ClientLockChange::Clear;
    }
    a.locked = condition;
    a.lockedMs = condition ? a.silence : 0;
}

void DecideStall(const ClientWatchdogFacts& f, ClientWatchdogActions& a, ClientWatchdogMemory& m,
                 bool remoteLocked, bool hidForced) {
    const bool lockedNow = f.desktopStateLocked || remoteLocked;
    if (lockedNow && f.videoClosed && !f.inputConnected && !m.rebindPending) {
        a.startRebind = true;
        m.rebindPending = true;
        m.rebindStart = f.now;
        hidForced = false;
    }
    if (m.rebindPending) {
        if (f.now - m.retryClock >= kClientRebindRetryMs && f.stillCurrent) {
            m.retryClock = f.now;
            a.rebindRetry = true;
        }
    } else if (lockedNow) {
        a.phase = ClientWatchdogPhase::SecureDesktop;
        return;
    }

    a.phase = ClientWatchdogPhase::Stall;
    if (hidForced && f.inputConnected && ClientClockDue(m.lastRestartRequest, f.now, kClientHidRecoveryMs))
        a.hidRecovery = true;
    if (a.longSilence || a.blackStall)
        a.logStalled = ClientClockDue(m.sharedLogClock, f.now, kClientWatchdogLogMs);
    if (!a.sideAlive || a.silence > kClientPersistentMs) {
        a.persistent = true;
        a.logPersistent = ClientClockDue(m.sharedLogClock, f.now, kClientWatchdogLogMs);
    }
    if (a.silence > kClientOfflineMs) {
        a.offline = true;
        if (ClientClockDue(m.retryClock, f.now, kClientOfflineRetryMs)) {
            a.offlineRetry = f.stillCurrent ? ClientRetry::Sent : ClientRetry::Suppressed;
            a.logOfflineRetry = ClientClockDue(m.recoveryLogClock, f.now, kClientOfflineLogMs);
        }
    }
    a.stopRenderer = a.silence > kClientRendererStopMs && f.rendererRunning;
    a.releaseDecoder = a.silence > kClientDecoderReleaseMs && f.hasH264Decoder;
    a.refresh = true;
}

} // namespace

ClientWatchdogActions ClientWatchdogPass(const ClientWatchdogFacts& f, ClientWatchdogMemory& m) {
    ClientWatchdogActions a;
    a.silence = f.firstFrameSeen ? f.now - f.lastFrameTick : std::numeric_limits<uint32_t>::max();
    a.blackMs = f.blackStart != 0 ? f.now - f.blackStart : 0;
    a.sideAlive = f.inputConnected || f.clipboardConnected;
    const bool watching = f.devicePresent && !f.peerLost && f.firstFrameSeen;
    a.longSilence = watching && a.silence >= kClientLongSilenceMs;
    a.blackStall = watching && a.blackMs >= kClientBlackStallMs;
    const bool silenceStall = a.silence > (a.sideAlive ? kClientSideAliveStallMs : kClientQuietStallMs);

    if (!f.devicePresent) {
        a.exit = ClientWatchdogExit::DeviceMissing;
        return a;
    }
    if (f.peerLost) {
        a.exit = ClientWatchdogExit::PeerLost;
        return a;
    }

    DecideLock(f, a, m);
    bool remoteLocked = f.remoteLocked;
    bool hidForced = f.hidForced;
    if (a.lock == ClientLockChange::Clear) {
        remoteLocked = false;
        hidForced = false;
    } else if (a.lock != ClientLockChange::None) {
        remoteLocked = true;
        hidForced = true;
    }

    if (f.firstFrameSeen && !m.issued && a.longSilence && a.sideAlive && f.stillCurrent) {
        m.issued = true;
        a.scheduleReconnect = true;
    }
    if (a.longSilence || a.blackStall)
        a.logCondition = ClientClockDue(m.conditionLogClock, f.now, kClientWatchdogLogMs);

    if (f.peerIpChanged) {
        a.peerIpChange = true;
        m.retryClock = f.now;
    }

    if (!f.firstFrameSeen) {
        a.phase = ClientWatchdogPhase::WaitingFirstFrame;
        if (f.now - m.retryClock >= kClientHandshakeRetryMs) {
            m.retryClock = f.now;
            a.handshakeRetry = f.stillCurrent ? ClientRetry::Sent : ClientRetry::Suppressed;
        }
        a.refresh = true;
        return a;
    }
    if (!silenceStall && a.blackMs <= kClientBlackHealthyMs) {
        a.phase = ClientWatchdogPhase::Streaming;
        a.refresh = true;
        return a;
    }
    DecideStall(f, a, m, remoteLocked, hidForced);
    return a;
}
