#include "app/ProcessMode.h"

ModeSwitches FindModeSwitches(std::u16string_view commandLine) {
    auto has = [&](std::u16string_view s) { return commandLine.find(s) != std::u16string_view::npos; };
    return {has(u"--service-host"), has(u"--prelogin-host"), has(u"--user-host")};
}

ProcessMode ModeFromSwitches(const ModeSwitches& s) {
    if (s.serviceHost)
        return ProcessMode::ServiceHost;
    if (s.preLoginHost)
        return ProcessMode::PreLoginHost;
    if (s.userHost)
        return ProcessMode::UserHost;
    return ProcessMode::User;
}

bool IsHiddenNetworkHost(ProcessMode mode) {
    return mode == ProcessMode::ServiceHost || mode == ProcessMode::PreLoginHost;
}

const char* BuildLineModeText(const ModeSwitches& s) {
    if (s.serviceHost)
        return "prelogin-host";
    if (s.preLoginHost)
        return s.userHost ? "user-host" : "prelogin";
    return s.userHost ? "user-host" : "user";
}

const char* SingleInstanceModeText(ProcessMode mode) {
    switch (mode) {
    case ProcessMode::ServiceHost:
        return "prelogin-host";
    case ProcessMode::PreLoginHost:
        return "prelogin";
    case ProcessMode::UserHost:
        return "user-host";
    case ProcessMode::User:
        break;
    }
    return "user";
}

const char16_t* SingleInstanceMutexName(ProcessMode mode) {
    switch (mode) {
    case ProcessMode::ServiceHost:
        return u"Global\\Tessaly.ServiceHost";
    case ProcessMode::PreLoginHost:
        return u"Local\\Tessaly.PreLoginHost";
    case ProcessMode::UserHost:
    case ProcessMode::User:
        break;
    }
    return u"Local\\Tessaly.SingleInstance";
}
