#include "input/win/Win32InjectionPlatform.h"

#include "input/win/AsyncKeyState.h"

#include <windows.h>

#include <vector>

namespace {

INPUT ToInput(const PlannedInput& planned) {
    INPUT input{};
    if (planned.kind == PlannedInput::Kind::Mouse) {
        input.type = INPUT_MOUSE;
        input.mi.dx = planned.dx;
        input.mi.dy = planned.dy;
        input.mi.mouseData = static_cast<DWORD>(planned.mouseData);
        input.mi.dwFlags = planned.flags;
    } else {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = planned.vk;
        input.ki.wScan = planned.scan;
        input.ki.dwFlags = planned.flags;
    }
    return input;
}

} // namespace

uint32_t Win32InjectionPlatform::SendInputs(const PlannedInput* events, uint32_t count) {
    std::vector<INPUT> inputs;
    inputs.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        inputs.push_back(ToInput(events[i]));
    SetLastError(0);
    const UINT sent = SendInput(count, inputs.data(), sizeof(INPUT));
    m_lastError = GetLastError();
    return sent;
}

void Win32InjectionPlatform::KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    keybd_event(vk, scan, flags, 0);
}

uint32_t Win32InjectionPlatform::ScanCodeOf(uint32_t vk) {
    return MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
}

bool Win32InjectionPlatform::IsKeyDown(uint32_t vk) {
    return IsAsyncKeyDown(static_cast<int>(vk));
}

bool Win32InjectionPlatform::IsToggledOn(uint32_t vk) {
    return (GetKeyState(static_cast<int>(vk)) & 1) != 0;
}

VirtualDesktop Win32InjectionPlatform::Desktop() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void Win32InjectionPlatform::SleepMs(uint32_t ms) {
    Sleep(ms);
}
