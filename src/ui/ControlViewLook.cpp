#include "ui/ControlViewLook.h"

#include "core/RuntimeState.h"
#include "ui/ControlViewClick.h"

namespace {

constexpr UiColour kHoverBorder{245, 235, 220};

bool IsOnItsWay(int32_t programState) {
    switch (static_cast<ProgramState>(programState)) {
    case ProgramState::HostStarting:
    case ProgramState::ClientStarting:
    case ProgramState::Connecting:
    case ProgramState::Switching:
        return true;
    default:
        return false;
    }
}

uint8_t Blend(uint8_t from, uint8_t to, int32_t percent) {
    return static_cast<uint8_t>((from * (100 - percent) + to * percent) / 100);
}

} // namespace

ControlViewKind ControlViewKindFor(int32_t programState, bool cablePresent, size_t discoveredPeers) {
    if (IsControlViewSessionActive(programState))
        return ControlViewKind::Active;
    return cablePresent && discoveredPeers > 0 ? ControlViewKind::Connectable : ControlViewKind::Idle;
}

ControlViewColours ControlViewColoursFor(ControlViewKind kind, int32_t programState, bool hovered) {
    switch (kind) {
    case ControlViewKind::Connectable:
        return {{38, 150, 96},
                {31, 123, 78},
                {25, 99, 63},
                {20, 81, 51},
                hovered ? kHoverBorder : UiColour{92, 155, 215}};
    case ControlViewKind::Active:
        if (programState == static_cast<int32_t>(ProgramState::Controlled) && !hovered)
            return {{58, 118, 190}, {47, 96, 155}, {38, 77, 125}, {31, 63, 102}, {120, 170, 230}};
        return {{190, 64, 64},
                {155, 52, 52},
                {125, 42, 42},
                {102, 34, 34},
                hovered ? kHoverBorder : UiColour{225, 120, 120}};
    case ControlViewKind::Idle:
        break;
    }
    return {{82, 88, 96}, {67, 72, 78}, {54, 58, 63}, {44, 47, 51}, {112, 120, 130}};
}

int32_t ControlViewLightening(ControlViewKind kind, int32_t programState, bool hovered,
                              uint32_t animationFrame) {
    if (kind == ControlViewKind::Idle)
        return hovered ? 10 : 0;
    const int32_t t = static_cast<int32_t>(animationFrame % 60);
    const int32_t wave = t <= 30 ? t : 60 - t;
    int32_t percent = hovered ? 28 : 8;
    if (IsOnItsWay(programState))
        percent += wave / 2;
    return percent;
}

UiColour LightenTowardWhite(UiColour colour, int32_t percent) {
    return {Blend(colour.r, 255, percent), Blend(colour.g, 255, percent), Blend(colour.b, 255, percent)};
}

UiColour ControlViewGradientRow(UiColour top, UiColour bottom, int32_t row, int32_t rows) {
    const int32_t percent = rows > 0 ? row * 100 / rows : 0;
    return {Blend(top.r, bottom.r, percent), Blend(top.g, bottom.g, percent),
            Blend(top.b, bottom.b, percent)};
}

std::string ControlButtonLabel(int32_t programState, bool cablePresent, size_t discoveredPeers, bool hovered,
                               bool english) {
    switch (static_cast<ProgramState>(programState)) {
    case ProgramState::Controlled:
        if (hovered)
            return english ? "Disconnect" : "断开";
        return english ? "Controlled" : "被控";
    case ProgramState::HostStarting:
    case ProgramState::ClientStarting:
    case ProgramState::Connecting:
    case ProgramState::Switching:
        return english ? "Connecting" : "连接中";
    case ProgramState::Stopping:
        return english ? "Stopping" : "断开中";
    case ProgramState::Controlling:
        return english ? "Disconnect" : "断开";
    default:
        break;
    }
    if (!cablePresent)
        return english ? "Insert device" : "等待设备插入";
    if (discoveredPeers > 0)
        return english ? "Connect" : "连接";
    if (programState == static_cast<int32_t>(ProgramState::PeerLost))
        return english ? "Lost" : "丢失";
    if (programState == static_cast<int32_t>(ProgramState::Error))
        return english ? "Error" : "错误";
    return english ? "Waiting remote" : "等待远端";
}
