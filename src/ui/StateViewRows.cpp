#include "ui/StateViewRows.h"

#include <cstdarg>
#include <cstdio>

#include "core/Printf.h"
#include "core/Utf.h"
#include "ui/PanelText.h"
#include "ui/StateViewNames.h"

namespace {

std::string Format(const char* format, ...) TSLY_PRINTF(1, 2);
std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

const char* UpDown(bool down) {
    return down ? "D" : "U";
}

std::string Safe(std::u16string_view text) {
    return SafePanelText(Utf16ToUtf8(text));
}

class RowList {
public:
    void Title(const char* text) { Add(StateViewRow::Kind::Title, 5, text, "", {238, 244, 252}); }
    void Section(int32_t y, const char* text) {
        Add(StateViewRow::Kind::Section, y, text, "", {150, 166, 186});
    }
    void Separator(int32_t y) { Add(StateViewRow::Kind::Separator, y, "", "", {48, 60, 76}); }
    void Value(int32_t y, const char* label, std::string value, UiColour colour) {
        Add(StateViewRow::Kind::Value, y, label, std::move(value), colour);
    }
    std::vector<StateViewRow> Take() { return std::move(m_rows); }

private:
    void Add(StateViewRow::Kind kind, int32_t y, const char* label, std::string value, UiColour colour) {
        m_rows.push_back({kind, y, label, std::move(value), colour});
    }
    std::vector<StateViewRow> m_rows;
};

void AddHardware(RowList& rows, const StateViewFacts& f) {
    rows.Section(22, f.english ? "HARDWARE" : "硬件");
    const RndisAdapterInfo& a = f.adapter;
    if (a.found) {
        rows.Value(40, "STATUS", Format("%s  USB RNDIS", a.up ? "UP" : "DOWN"),
                   a.up ? kPanelGood : kPanelWarning);
        rows.Value(56, "IP/MASK", Format("IP:%s  MASK:%s", Safe(a.ipv4).c_str(), Safe(a.mask).c_str()),
                   IsCableAddressExpected(a) ? kPanelGood : kPanelWarning);
    } else {
        rows.Value(40, "STATUS", "USB RNDIS NOT FOUND", kPanelIdle);
        rows.Value(56, "IP/MASK", "-", kPanelIdle);
    }
    rows.Value(72, "HID", Format("HID=%d", f.hidPresence), f.hidPresence > 0 ? kPanelGood : kPanelWarning);
    rows.Separator(88);
}

std::string PeerText(const RuntimeSnapshot& r) {
    const std::string ip = SafePanelText(r.peerIp), name = SafePanelText(r.peerName);
    if (ip.empty() && name.empty())
        return "-";
    if (name.empty())
        return ip;
    if (ip.empty())
        return name;
    return name + " " + ip;
}

void AddSession(RowList& rows, const StateViewFacts& f) {
    const RuntimeSnapshot& r = f.runtime;
    const UiColour colour = StateViewStateColour(r.programState);
    rows.Value(93, "STATE", ProgramStateDisplayName(r.programState, f.english), colour);
    rows.Value(109, "ROLE", RoleDisplayName(r.role, f.english), colour);
    rows.Value(125, "PEER", PeerText(r), colour);
    rows.Separator(141);
    rows.Value(146, "NET",
               Format("V:%s I:%s A:%s C:%s", ChannelStateDisplayName(r.channelStates[0], f.english),
                      ChannelStateDisplayName(r.channelStates[1], f.english),
                      ChannelStateDisplayName(r.channelStates[2], f.english),
                      ChannelStateDisplayName(r.channelStates[3], f.english)),
               kPanelNeutral);
    rows.Separator(162);
}

// The path row under PATH (and SAVE): the dragged or targeted folder that applies first, if any.
bool DragPath(const RuntimeSnapshot& r, const char*& label, const std::string*& path) {
    if (r.remoteDragActive && !r.remoteDragPath.empty()) {
        label = "RPATH", path = &r.remoteDragPath;
        return true;
    }
    if (r.localDragActive && !r.localDragPath.empty()) {
        label = "LPATH", path = &r.localDragPath;
        return true;
    }
    if (r.dropReady && !r.dropTarget.empty()) {
        label = "TARGET", path = &r.dropTarget;
        return true;
    }
    return false;
}

void AddInternal(RowList& rows, const StateViewFacts& f) {
    const RuntimeSnapshot& r = f.runtime;
    rows.Section(167, f.english ? "INTERNAL" : "内部");
    rows.Value(185, "HTTP",
               Format("%s  PORT:%u  DL:%u  LAST:%llu", r.httpRunning ? "ON" : "OFF",
                      r.httpRunning ? r.httpPort : 0, r.httpActiveDownloads,
                      static_cast<unsigned long long>(r.httpLastBytes)),
               r.httpRunning ? kPanelGood : kPanelIdle);
    const bool buttonDown = r.mouseLeft || r.mouseRight || r.mouseMiddle;
    rows.Value(201, "MOUSE",
               Format("X:%d Y:%d  L:%s R:%s M:%s", r.mouseX, r.mouseY, UpDown(r.mouseLeft),
                      UpDown(r.mouseRight), UpDown(r.mouseMiddle)),
               buttonDown ? kPanelWarning : kPanelGood);
    StateViewText drag = StateViewDragRow(r);
    rows.Value(217, "DRAG", std::move(drag.text), drag.colour);
    const bool screenKnown = r.screenWidth > 0 && r.screenHeight > 0;
    rows.Value(233, "SCREEN",
               screenKnown ? Format("%ux%u  DPI:%u%%  UI:%u%%", r.screenWidth, r.screenHeight,
                                    r.dpiScalePercent, r.controlUiScalePercent)
                           : Format("WAIT  DPI:%u%%  UI:%u%%", r.dpiScalePercent, r.controlUiScalePercent),
               screenKnown ? kPanelGood : kPanelIdle);
    rows.Value(249, "PATH", r.cursorPath.empty() ? "-" : SafePanelText(r.cursorPath),
               r.cursorPath.empty() ? kPanelIdle : kPanelGood);

    int32_t y = 265;
    if (!r.httpLastFile.empty()) {
        rows.Value(y, "SAVE", SafePanelText(r.httpLastFile), kPanelGood);
        y += 16;
    }
    const char* label = nullptr;
    const std::string* path = nullptr;
    if (DragPath(r, label, path)) {
        rows.Value(y, label, SafePanelText(*path), kPanelPath);
        y += 16;
    }

    rows.Separator(y);
    if (r.streamWidth > 0)
        rows.Value(y + 5, "VIDEO",
                   Format("%ux%u@%u  R:%d D:%d P:%d", r.streamWidth, r.streamHeight, f.configuredFps,
                          r.clientReceiveFps, r.clientDecodeFps, r.clientDrawFps),
                   kPanelGood);
    else
        rows.Value(y + 5, "VIDEO",
                   Format("WAIT@%u  R:%d D:%d P:%d", f.configuredFps, r.clientReceiveFps, r.clientDecodeFps,
                          r.clientDrawFps),
                   kPanelIdle);
    rows.Value(y + 21, "PERF",
               Format("CAP:%d ENC:%d SEND:%d TX:%.1fM RX:%.1fM", r.hostCaptureFps, r.hostEncodeFps,
                      r.hostSendFps, r.hostKbps / 1024.0, r.clientKbps / 1024.0),
               kPanelNeutral);
    StateViewText message = StateViewMessageRow(f);
    rows.Value(y + 37, "MSG", std::move(message.text), message.colour);
}

} // namespace

std::vector<StateViewRow> BuildStateViewRows(const StateViewFacts& facts) {
    RowList rows;
    rows.Title(facts.english ? "STATE VIEW" : "状态视图");
    AddHardware(rows, facts);
    AddSession(rows, facts);
    AddInternal(rows, facts);
    return rows.Take();
}

UiColour StateViewStateColour(int32_t programState) {
    switch (static_cast<ProgramState>(programState)) {
    case ProgramState::Controlling:
        return kPanelGood;
    case ProgramState::Controlled:
        return kPanelControlled;
    case ProgramState::PeerLost:
    case ProgramState::Error:
        return kPanelBad;
    case ProgramState::HostStarting:
    case ProgramState::ClientStarting:
    case ProgramState::Connecting:
    case ProgramState::Switching:
    case ProgramState::Stopping:
        return kPanelWarning;
    default:
        return kPanelIdle;
    }
}

bool IsCableAddressExpected(const RndisAdapterInfo& adapter) {
    return StartsWithTenDot(adapter.ipv4) && adapter.mask == u"255.0.0.0";
}

StateViewText StateViewDragRow(const RuntimeSnapshot& r) {
    if (r.remoteDragActive)
        return {Format("REMOTE DRAG  CNT:%d SIZE:%s DIR:%s", r.remoteDragCount,
                       FormatPanelSize(r.remoteDragBytes).c_str(), r.remoteDragDirection != 0 ? "Y" : "N"),
                kPanelWarning};
    if (r.localDragActive)
        return {Format("LOCAL DRAG  CNT:%d SIZE:%s DIR:%s", r.localDragCount,
                       FormatPanelSize(r.localDragBytes).c_str(), r.localDragFlag != 0 ? "Y" : "N"),
                kPanelWarning};
    if (r.dropReady)
        return {Format("DROP READY  CNT:%d SIZE:%s", r.dropCount, FormatPanelSize(r.dropBytes).c_str()),
                kPanelGood};
    if (r.clipboardItemCount >= 1)
        return {Format("CLIPBOARD %s  CNT:%d", ClipboardKindName(r.clipboardItemKind), r.clipboardItemCount),
                kPanelGood};
    return {"IDLE", kPanelIdle};
}

StateViewText StateViewMessageRow(const StateViewFacts& f) {
    const RuntimeSnapshot& r = f.runtime;
    const UiColour colour = r.errorText.empty() ? kPanelNeutral : kPanelBad;
    std::string text = f.transferLine.empty() ? r.statusMessage : f.transferLine;
    if (f.transferLine.empty() && !f.healthLine.empty() && f.healthAgeMs <= kPanelHealthMaxAgeMs)
        text = f.healthLine;
    else if (!r.errorText.empty())
        text = r.errorText;
    if (text.empty())
        return {f.english ? "Ready" : "就绪", colour};
    return {SafePanelText(text), colour};
}

bool StateViewHidProbeGate::Admit(int32_t cachedPresence, bool probeRunning, uint32_t now) {
    if (cachedPresence >= 0 || probeRunning)
        return false;
    if (m_started && now - m_lastStart < kIntervalMs)
        return false;
    m_started = true;
    m_lastStart = now;
    return true;
}
