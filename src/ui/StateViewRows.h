#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/RuntimeState.h"
#include "link/RndisAdapter.h"
#include "ui/UiColour.h"

// What the StateView diagnostic panel paints, row by row, from the facts gathered for one paint. Every
// text is UTF-8 and already safe to draw (see PanelText.h).

inline constexpr UiColour kPanelGood{104, 238, 165};
inline constexpr UiColour kPanelWarning{245, 196, 112};
inline constexpr UiColour kPanelIdle{155, 165, 178};
inline constexpr UiColour kPanelNeutral{218, 228, 240};
inline constexpr UiColour kPanelPath{170, 182, 196};
inline constexpr UiColour kPanelBad{255, 120, 120};
inline constexpr UiColour kPanelControlled{115, 178, 255};

// The Mac peer's health line is shown while it is at most this old.
inline constexpr uint32_t kPanelHealthMaxAgeMs = 10000;

struct StateViewFacts {
    RuntimeSnapshot runtime;
    bool english = true;
    RndisAdapterInfo adapter; // the cable's network adapter
    int32_t hidPresence = -1; // the cached HID presence result (-1: none yet)
    std::string transferLine; // the transfer model's status line, empty without a transfer shown
    std::string healthLine;   // the Mac peer's last health line, empty when none
    uint32_t healthAgeMs = 0; // how long ago that line arrived
    uint32_t configuredFps = 0;
};

struct StateViewRow {
    enum class Kind { Title, Section, Value, Separator };
    Kind kind = Kind::Value;
    int32_t y = 0;
    std::string label; // the title or section text, or the value's label
    std::string value;
    UiColour colour;
};

std::vector<StateViewRow> BuildStateViewRows(const StateViewFacts& facts);

// The colour of STATE, ROLE and PEER. A session on its way or no session at all reads in the warning and
// idle colours, legible on the panel's dark background.
UiColour StateViewStateColour(int32_t programState);

// IP/MASK is good only for an address in 10.0.0.0/8 with the mask 255.0.0.0.
bool IsCableAddressExpected(const RndisAdapterInfo& adapter);

struct StateViewText {
    std::string text;
    UiColour colour;
};
// The DRAG row: a remote drag, else a local drag, else a drop ready to take, else clipboard activity.
StateViewText StateViewDragRow(const RuntimeSnapshot& runtime);
// The MSG row: the transfer line or the status message; a fresh Mac health line where no transfer is
// shown, else the error text; "Ready" when nothing is left.
StateViewText StateViewMessageRow(const StateViewFacts& facts);

// The HID probe the panel asks for while no presence result is cached: at most one every 3 s, and never
// while a probe runs. UI thread only.
class StateViewHidProbeGate {
public:
    static constexpr uint32_t kIntervalMs = 3000;

    // True when a probe is to start now (its tick is then recorded).
    bool Admit(int32_t cachedPresence, bool probeRunning, uint32_t now);

private:
    bool m_started = false;
    uint32_t m_lastStart = 0;
};
