#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/UiColour.h"

// What ControlView's button shows: its kind, word and colours, from the program state, the cable and
// discovery, the hover and the animation frame.

enum class ControlViewKind {
    Idle,        // no cable, or no peer to connect to
    Connectable, // the cable is in and a peer was discovered
    Active,      // a session is starting, running or stopping
};

ControlViewKind ControlViewKindFor(int32_t programState, bool cablePresent, size_t discoveredPeers);

struct ControlViewColours {
    UiColour bright, mid, dark, pressed, border;
};
// A controlled PC shows blue until hovered, then the red of every other active state (a click disconnects).
ControlViewColours ControlViewColoursFor(ControlViewKind kind, int32_t programState, bool hovered);

// How far (percent) the face's top colour is lightened toward white: a hover brightens it, and while a
// session is on its way the button breathes with a 60-frame triangle wave.
int32_t ControlViewLightening(ControlViewKind kind, int32_t programState, bool hovered,
                              uint32_t animationFrame);
// Each channel c becomes (c * (100 - p) + 255 * p) / 100.
UiColour LightenTowardWhite(UiColour colour, int32_t percent);
// Row `row` of a `rows`-high vertical gradient from top to bottom (blended by row * 100 / rows percent).
UiColour ControlViewGradientRow(UiColour top, UiColour bottom, int32_t row, int32_t rows);

// The button's word in UTF-8 ("Connect", "Insert device", ...); an unknown program state reads as idle.
std::string ControlButtonLabel(int32_t programState, bool cablePresent, size_t discoveredPeers, bool hovered,
                               bool english);
