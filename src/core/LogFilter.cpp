#include "core/LogFilter.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

bool Has(std::string_view line, std::string_view needle) { return line.find(needle) != std::string_view::npos; }

bool HasAny(std::string_view line, std::initializer_list<std::string_view> needles) {
    for (std::string_view n : needles)
        if (Has(line, n))
            return true;
    return false;
}

bool StateBlockMatches(std::string_view line) {
    if ((Has(line, "[STATE] ") || Has(line, "[STATE][NET]")) &&
        !HasAny(line, {"StateManager init", "StateManager shutdown", "peerLost=1", "remoteLocked="}))
        return true;
    if (Has(line, "[CLIP][SERVICE][STOP]") && Has(line, "running=0 connected=0"))
        return true;
    return HasAny(line, {"[NET][SERVICE] channel=", "[NET][SERVICE] ports ", "[NET][SERVICE] discovery running=",
                         "[NET][SERVICE] control running=", "[DIAG][CLIPBOARD]", "[INPUT][SERVICE][STOP] reason=session",
                         "[SESSION][STOP][SKIP_IDLE]", "Discovery desktop state cache reset",
                         "Discovery controller video visibility/request cache reset",
                         "[TEXT][CLEARTYPE][RESTORE] no active guard", "[DRAG][SERVICE][STOP] already stopped",
                         // second block
                         "[AUTOCONNECT][INTENT] unchanged=", "[AUTOCONNECT] discovery running but no peer yet",
                         "Discovery duplicate control request ignored", "Client handshake retry suppressed",
                         "Client runtime recovery retry suppressed",
                         "[LOCK][CLIENT] remote_locked=0 video/side-channel state"});
}

bool StartupBlockMatches(std::string_view line) {
    if (Has(line, "[FW]") && !Has(line, "[FW] check done"))
        return true;
    if (Has(line, "[DRAG][UIPI]") && Has(line, "ok=1"))
        return true;
    return HasAny(line, {"Lifecycle start module=", "Lifecycle stop module=", "CommandBus Subscribe",
                         "MouseMonitorDllStart ok", "ScreenScaleMonitorDllStart ok", "CursorPathMonitorDllStart ok",
                         "MouseMonitorDll thread enter", "MouseMonitorDll thread leave",
                         "ScreenScaleMonitorDll thread enter", "ScreenScaleMonitorDll thread leave",
                         "CursorPathMonitorDll thread enter", "CursorPathMonitorDll thread leave", "ControlView created",
                         "ControlView destroyed", "StateView created", "StateView destroyed",
                         "RemoteView DragAcceptFiles enabled", "[VSCREEN][MODE] old=0 new=0 active=0",
                         // second block
                         "detach worker thread", "detach server thread", "detach worker thread wasRunning="});
}

bool MediaBlockMatches(std::string_view line) {
    return HasAny(
        line,
        {"[COLOR][RENDER][NV12-STATS]", "[RENDER][SCALE]", "[RENDER][PACE]", "RemoteView render stat",
         "audio host stat",
         // second block
         "TryEnumDecoder ", "Activate decoder by enum", "Decoder attribute MF_LOW_LATENCY", "Decoder LowLatency4:",
         "Decoder output type[", "Decoder SetOutputType OK", "Decoder stream change", "Decoder stream-change output type[",
         "Decoder stream-change SetOutputType OK", "[COLOR][DEC][TYPE]", "Renderer adapter vendor=",
         "Renderer Intel adapter detected", "Renderer DXGI maximum frame latency",
         "Renderer swap chain maximum frame latency", "Renderer using DXGI flip-model", "[COLOR][DXGI]",
         "HDR framework: swapchain", "Shader NV12 renderer resources created", "Shader split-plane NV12 resources OK",
         "[COLOR][RENDER][SHADER]", "[COLOR][RENDER][NV12-FIRST]",
         // third block
         "host stat ", "client stat ", "[HIDASYNC][HEARTBEAT]", "LongRunGuard reason=", "Renderer init OK ",
         "[VIDEO][ENC][INIT]", "Audio player UDP bind OK ", "V15 low bandwidth:"});
}

} // namespace

bool DebugValueEnables(const std::optional<std::string>& value) {
    if (!value || value->empty() || value->size() > 31)
        return false;
    char c = (*value)[0];
    return c == '1' || c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

bool DebugOutputEnabled(const std::optional<std::string>& value) { return value && !value->empty() && (*value)[0] == '1'; }

DebugFlags ReadDebugFlags(const EnvironmentReader& environment) {
    auto on = [&](const char* name) { return DebugValueEnables(environment(name)); };
    DebugFlags f;
    f.all = on("MARLO_DEBUG_ALL_LOG");
    f.input = f.all || on("MARLO_DEBUG_INPUT_LOG");
    f.hid = f.all || on("MARLO_DEBUG_HID_LOG");
    f.drag = f.all || on("MARLO_DEBUG_DRAG_LOG");
    f.resize = f.all || on("MARLO_DEBUG_RESIZE_LOG");
    f.ui = f.all || on("MARLO_DEBUG_UI_LOG");
    f.timeline = f.all || on("MARLO_DEBUG_TIMELINE_LOG");
    f.media = f.all || on("MARLO_DEBUG_MEDIA_LOG");
    f.visibility = f.all || on("MARLO_DEBUG_VISIBILITY_LOG");
    f.state = f.all || on("MARLO_DEBUG_STATE_LOG");
    f.startup = f.all || on("MARLO_DEBUG_STARTUP_LOG");
    f.transfer = f.all || on("MARLO_DEBUG_TRANSFER_LOG");
    return f;
}

bool IsCategoryEnabled(const DebugFlags& flags, const char* name) {
    if (name == nullptr)
        return flags.all;
    std::string_view n(name);
    if (n == "input") return flags.input;
    if (n == "hid") return flags.hid;
    if (n == "drag") return flags.drag;
    if (n == "resize") return flags.resize;
    if (n == "ui") return flags.ui;
    if (n == "timeline") return flags.timeline;
    if (n == "media") return flags.media;
    if (n == "visibility") return flags.visibility;
    if (n == "state") return flags.state;
    if (n == "startup") return flags.startup;
    if (n == "transfer") return flags.transfer;
    return flags.all;
}

std::string FormatProfileLine(const DebugFlags& f) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "[LOG][PROFILE] runtime-slim all=%d input=%d hid=%d drag=%d resize=%d ui=%d timeline=%d media=%d "
                  "visibility=%d state=%d startup=%d transfer=%d",
                  f.all, f.input, f.hid, f.drag, f.resize, f.ui, f.timeline, f.media, f.visibility, f.state, f.startup,
                  f.transfer);
    return text;
}

bool IsBlankMessage(std::string_view message) {
    return message.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool IsErrorTextLine(std::string_view line) {
    if (Has(line, "[DIAG]") || Has(line, "lastError="))
        return false;
    return HasAny(line, {"[ERR]", "[FAIL]", "failed", "Failed"});
}

bool ShouldSuppressLine(std::string_view line, const DebugFlags& f) {
    // 1. Lines that are always written.
    if (HasAny(line, {"[ERR]", "[ERROR]", "[WARN]", "[FAIL]", "[DONE]", " failed", " failure", " exception",
                      "ConnectionState", "UnifiedKvmState", "App start", "App stop", "CrashHandler"}))
        return false;

    // 2. Category blocks, each only while its category is off.
    if (!f.input && HasAny(line, {"[KEY][HOOK]", "[KEY][DIAG]", "[KEY][SYNC]", "[MOUSE][BTN]", "[HIDROUTE][AUTO]",
                                  "RemoteView keyboard active", "RemoteView keyboard inactive",
                                  "Remote keyboard active", "Remote keyboard inactive"}))
        return true;
    if (!f.hid && HasAny(line, {"[HIDASYNC][SLOW]", "[HID][MOUSE][RAW_", "[HIDASYNC][MOUSE][QUEUE]"}))
        return true;
    if (!f.drag &&
        HasAny(line, {"[DRAGMON][TRACE]", "[DRAGMON][VSCREEN][LOCALSEL]", "[RDRAG][SEL]", "[RDRAG][MOUSEUP_CACHE]"}))
        return true;
    if (!f.resize && HasAny(line, {"[RESIZE-CUSTOM]", "[RESIZE-SM]", "[RESIZE-FIX]"}))
        return true;
    if (!f.ui && HasAny(line, {"[TRAY][NOTIFY]", "[TRAY][DPI]", "ControlView visibility:",
                               "AppLifecycleStartAll ignored",
                               "[HOTKEY][POLL] local foreground shortcut poller started"}))
        return true;
    if (!f.timeline && Has(line, "[DIAG][TIMELINE]"))
        return true;
    if (!f.media && MediaBlockMatches(line))
        return true;
    if (!f.visibility && (Has(line, "[VIDEO][VISIBILITY][SYNCED]") ||
                          (Has(line, "[VIDEO][VISIBILITY][TX_ACK]") && Has(line, "confirmed=1") &&
                           Has(line, "reason=periodic-resync"))))
        return true;
    if (!f.state && StateBlockMatches(line))
        return true;
    if (!f.startup && StartupBlockMatches(line))
        return true;
    if (!f.transfer &&
        HasAny(line, {"[HTTP][SERVER] manifest ", "[HTTP][SERVER] GET /manifest", "[HTTP][SERVER] GET /file begin",
                      "[HTTP][OPEN]", "[HTTP][SIZE]", "[HTTP][SEND]",
                      "Clipboard progress: Remote file transfer progress", "[TRANSFER][LONG][WORKER][ARM]",
                      "[TRANSFER][LONG][WORKER][TRACK]", "[TRANSFER][LONG][RESET]"}))
        return true;

    // 3. Remote-drag lines that got this far are written.
    if (Has(line, "[RDRAG]"))
        return false;

    // 4. Always dropped, whatever the flags.
    return HasAny(line, {"Stop wasRunning=0", "RemoteViewStopRenderer blackPresented=0 signal done",
                         "ScreenScaleMonitor state screen=", "Input async send ok", "Shader renderer Present busy/drop",
                         "CursorPathMonitor path=", "[THREAD][START]", "[THREAD][STOP]", "[HTTP][CLIENT] header ok",
                         "[HTTP][CLIENT] request text", "[HTTP][CLIENT] request file",
                         "[HTTP][CLIENT] text contentLength", "[HTTP][CLIENT] file header contentLength",
                         "[HTTP][CLIENT] download progress"});
}
