#include "ui/RuntimeRefreshGate.h"

bool RuntimeRefreshGate::Admit(bool menuBusy) {
    if (!menuBusy)
        return true;
    m_deferred = true;
    return false;
}

RuntimeRefreshGate::Retry RuntimeRefreshGate::OnRetryTimer(bool menuBusy) {
    if (menuBusy)
        return Retry::KeepWaiting;
    if (!m_deferred)
        return Retry::Stop;
    m_deferred = false;
    return Retry::StopAndRepost;
}
