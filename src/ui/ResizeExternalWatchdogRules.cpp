#include "ui/ResizeExternalWatchdogRules.h"

ResizeExternalWatchdogRules::Step ResizeExternalWatchdogRules::Decide(const Facts& f) {
    Step step;
    if (f.watchdogSequence != m_sequence)
        step.stop = Stop::SequenceChanged;
    else if (f.sharedState != 1)
        step.stop = Stop::StateLeftActive;
    else if (f.now - m_start >= kMaxLifetimeMs)
        step.stop = Stop::MaxLifetime;
    else if (!f.windowExists)
        step.stop = Stop::WindowGone;
    if (step.stop != Stop::None)
        return step;

    if (f.leftButtonDown) {
        m_upTick.reset();
        return step;
    }
    if (!m_upTick) {
        m_upTick = f.now;
        step.upObserved = true;
    }
    step.upMs = f.now - *m_upTick;
    if (!m_stillActiveLogTick || f.now - *m_stillActiveLogTick >= kStillActiveLogMs) {
        m_stillActiveLogTick = f.now;
        step.logStillActive = true;
    }
    if (m_lastRescueTick)
        step.lastRescueAgoMs = f.now - *m_lastRescueTick;
    if (step.upMs >= kRescueAfterUpMs && (!m_lastRescueTick || step.lastRescueAgoMs >= kRescueGapMs)) {
        step.modalRescue = true;
        m_lastRescueTick = f.now;
    }
    if (step.upMs >= kEscapeAfterUpMs && !f.escSent)
        step.escapeRescue = true;
    return step;
}
