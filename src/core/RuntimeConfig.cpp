#include "core/RuntimeConfig.h"

#include "core/Log.h"

namespace {

void LogOutOfRange(const char* name, int64_t value, int64_t low, int64_t high, int64_t fallback) {
    Log::Write("RuntimeConfig: %s=%d out of range [%d,%d], fallback=%d", name, static_cast<int>(value),
               static_cast<int>(low), static_cast<int>(high), static_cast<int>(fallback));
}

// Replaces a value outside low..high by the fallback.
template <typename T>
void ClampOrFallback(const char* name, T& value, int64_t low, int64_t high, T fallback) {
    int64_t v = static_cast<int64_t>(value);
    if (v >= low && v <= high)
        return;
    LogOutOfRange(name, v, low, high, fallback);
    value = fallback;
}

void ValidateDimension(const char* name, int32_t& value, int32_t minimum) {
    if (value < 0) {
        Log::Write("RuntimeConfig: %s=%d invalid, fallback=0", name, value);
        value = 0;
    }
    if (value > 0 && value < minimum) {
        Log::Write("RuntimeConfig: %s=%d too small, fallback=%d", name, value, minimum);
        value = minimum;
    }
    if (value > 8192) {
        Log::Write("RuntimeConfig: %s=%d too large, fallback=8192", name, value);
        value = 8192;
    }
    value &= ~1;
}

void ValidateBool(const char* name, uint32_t& value) {
    if (value > 1) {
        LogOutOfRange(name, value, 0, 1, 1);
        value = 1;
    }
}

void ValidatePortNotZero(const char* name, uint16_t& port, uint16_t fallback) {
    if (port == 0) {
        Log::Write("RuntimeConfig: %s=0 invalid, fallback=%u", name, static_cast<unsigned>(fallback));
        port = fallback;
    }
}

// The fallback is not compared again with the other ports.
bool ResolveConflict(const char* name, uint16_t& port, const char* otherName, uint16_t other,
                     uint16_t fallback) {
    if (port != other)
        return false;
    Log::Write("RuntimeConfig: port conflict %s=%u and %s=%u, fallback %s=%u", name,
               static_cast<unsigned>(port), otherName, static_cast<unsigned>(other), name,
               static_cast<unsigned>(fallback));
    port = fallback;
    return true;
}

} // namespace

ConfigSnapshot SnapshotOf(const RuntimeConfig& c) {
    ConfigSnapshot s;
    s.fps = c.fps;
    s.bitrate = c.bitrate;
    s.maxVideoWidth = c.maxVideoWidth;
    s.maxVideoHeight = c.maxVideoHeight;
    s.lowBandwidthEnable = c.lowBandwidthEnable;
    s.idleFps = c.idleFps;
    s.idleKeepaliveMs = c.idleKeepaliveMs;
    s.audioEnable = c.audioEnable;
    s.uiLanguageEnglish = c.uiLanguageEnglish;
    s.remoteInputEnable = c.remoteInputEnable;
    s.clipboardEnable = c.clipboardEnable;
    s.fileConflictRename = c.fileConflictRename;
    s.remoteTextMode = c.remoteTextMode;
    s.longTransferAutoShowDelayMs = c.longTransferAutoShowDelayMs;
    s.autoConnectEnable = c.autoConnectEnable;
    s.virtualScreenMode = c.virtualScreenMode;
    s.videoQualityMode = c.videoQualityMode;
    s.videoPort = c.videoPort;
    s.inputPort = c.inputPort;
    s.audioPort = c.audioPort;
    s.clipboardPort = c.clipboardPort;
    return s;
}

PortSet PortSetOf(const RuntimeConfig& c) {
    PortSet ports;
    ports.video = c.videoPort;
    ports.input = c.inputPort;
    ports.audio = c.audioPort;
    ports.clipboard = c.clipboardPort;
    ports.http = 0;
    return ports;
}

void ValidateRuntimeConfig(RuntimeConfig& c) {
    const RuntimeConfig defaults;

    if (c.fps == 0 || c.fps > 240) {
        LogOutOfRange("fps", c.fps, 1, 240, defaults.fps);
        c.fps = defaults.fps;
    }
    ClampOrFallback("bitrate", c.bitrate, 1000000, 300000000, defaults.bitrate);

    ValidateDimension("maxVideoWidth", c.maxVideoWidth, 320);
    ValidateDimension("maxVideoHeight", c.maxVideoHeight, 240);

    ValidateBool("lowBandwidthEnable", c.lowBandwidthEnable);
    ValidateBool("audioEnable", c.audioEnable);
    ValidateBool("uiLanguageEnglish", c.uiLanguageEnglish);
    ValidateBool("remoteInputEnable", c.remoteInputEnable);
    ValidateBool("clipboardEnable", c.clipboardEnable);
    ValidateBool("fileConflictRename", c.fileConflictRename);
    ValidateBool("autoConnectEnable", c.autoConnectEnable);
    ValidateBool("videoQualityMode", c.videoQualityMode);

    ClampOrFallback("virtualScreenMode", c.virtualScreenMode, 0, 4, 0u);
    ClampOrFallback("renderScaleMode", c.renderScaleMode, 0, 3, defaults.renderScaleMode);
    ClampOrFallback("remoteTextMode", c.remoteTextMode, 0, 3, 0u);
    ClampOrFallback("longTransferAutoShowDelayMs", c.longTransferAutoShowDelayMs, 1000, 60000,
                    defaults.longTransferAutoShowDelayMs);

    // After fps, so the bound is a valid frame rate.
    ClampOrFallback("idleFps", c.idleFps, 0, c.fps, c.fps < 2 ? 1 : defaults.idleFps);
    ClampOrFallback("idleKeepaliveMs", c.idleKeepaliveMs, 250, 10000, defaults.idleKeepaliveMs);

    ValidatePortNotZero("videoPort", c.videoPort, defaults.videoPort);
    ValidatePortNotZero("inputPort", c.inputPort, defaults.inputPort);
    ValidatePortNotZero("audioPort", c.audioPort, defaults.audioPort);
    ValidatePortNotZero("clipboardPort", c.clipboardPort, defaults.clipboardPort);

    ResolveConflict("inputPort", c.inputPort, "videoPort", c.videoPort, defaults.inputPort);
    if (!ResolveConflict("audioPort", c.audioPort, "videoPort", c.videoPort, defaults.audioPort))
        ResolveConflict("audioPort", c.audioPort, "inputPort", c.inputPort, defaults.audioPort);
    if (!ResolveConflict("clipboardPort", c.clipboardPort, "videoPort", c.videoPort,
                         defaults.clipboardPort) &&
        !ResolveConflict("clipboardPort", c.clipboardPort, "inputPort", c.inputPort, defaults.clipboardPort))
        ResolveConflict("clipboardPort", c.clipboardPort, "audioPort", c.audioPort, defaults.clipboardPort);
}
