// The remote desktop's state as the peer reports it: the Mac health line and the lock state.
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlHandler.h"
#include "link/ControlHandlerState.h"
#include "link/ControlHandlerText.h"
#include "link/ControlMessageRead.h"
#include "link/HealthLine.h"
#include "link/KvmSessionHid.h"
#include "link/LocalIdentity.h"
#include "link/SessionControllerServices.h"
#include "core/StateManager.h"

using namespace Discovery;

namespace {

bool IsForeignSender(std::string_view message) {
    return IsForeignPeerId(GetMessageValue(message, "id"), CurrentLocalIdentity().id);
}

// A report field in a log line: bounded, like every peer text.
std::string Field(std::string_view value) {
    return BoundedPeerText(value);
}

} // namespace

void ControlHandler::HandleRemoteHealth(const std::string& ip, std::string_view message) {
    if (!IsForeignSender(message))
        return;
    const bool active = m_session.IsActivePeer(ip);
    if (!active && !Services().HasPeerWithIp(ip))
        return;

    MacHealthReport report = ReadMacHealthReport(message);
    StateManager& state = RuntimeStateManager();
    // The Mac says its desktop is open and input flows over the network: undo a lock that is still held.
    if (active && report.desktop == "aqua" && !report.locked && report.inputState == "connected" &&
        state.IsController() && (state.IsRemoteLocked() || state.IsHidForced())) {
        state.SetRemoteLocked(false, "remote health confirms Aqua unlocked");
        ReleaseHidFallback(state, Services());
        m_state.desktop.SetUnlocked();
        Log::Write("[INPUT][MODE] hid -> network reason=remote_health_aqua_unlocked ip=%s", ip.c_str());
    }

    std::string line = FormatHealthLine(report, ConfigService::Instance().IsUiLanguageEnglish());
    m_state.health.Store(line, ip, Log::TickCount());
    RuntimeSetStatusMessageAndRepaint(line.c_str());
    if (!report.reason.empty() && report.reason != "ok")
        RuntimeSetErrorText(line.c_str());

    Log::Write(
        "[REMOTE][HEALTH] peer=%s hw=%s net=%s remote_ip=%s desktop=%s locked=%d display=%s capture=%s "
        "video=%s input=%s reason=%s",
        ip.c_str(), Field(report.hw).c_str(), Field(report.net).c_str(), Field(report.ip).c_str(),
        Field(report.desktop).c_str(), report.locked ? 1 : 0, Field(report.display).c_str(),
        Field(report.capture).c_str(), Field(report.videoState).c_str(), Field(report.inputState).c_str(),
        Field(report.reason).c_str());
}

void ControlHandler::HandleDesktopState(const std::string& ip, std::string_view message) {
    if (!IsForeignSender(message) || !m_session.IsActivePeer(ip))
        return;
    if (RuntimeGetRole() != static_cast<int32_t>(RuntimeRole::Controller))
        return;

    const bool english = ConfigService::Instance().IsUiLanguageEnglish();
    StateManager& state = RuntimeStateManager();
    switch (m_state.desktop.Report(ReadMessageFlag(message, "locked"))) {
    case DesktopLockChange::BecameLocked:
        RuntimeSetStatusMessage(english ? "Remote LoginWindow/locked; hardware input via HID"
                                        : "远端已进入登录界面/锁定状态，键鼠切换为硬件HID");
        ForceHidFallback(state, Services());
        Log::Write("[INPUT][MODE] network -> hid reason=remote_desktop_state_locked ip=%s", ip.c_str());
        break;
    case DesktopLockChange::BecameUnlocked:
        RuntimeSetStatusMessage(english ? "Remote desktop active; waiting for video/capture recovery"
                                        : "远端已进入桌面，正在等待视频/采集恢复");
        ReleaseHidFallback(state, Services());
        Log::Write("[INPUT][MODE] hid -> network reason=remote_unlocked_in_place ip=%s", ip.c_str());
        Log::Write("Discovery desktop state unlock detected from %s; preserve active session", ip.c_str());
        break;
    case DesktopLockChange::None:
        break;
    }
}
