#pragma once

// The StateView panel's visible flag (starts hidden), flipped by the main window's and RemoteView's
// Ctrl+Alt+0. UI thread only.
bool IsStateViewVisible();
// Flips the flag and shows the StateView window without activating it (repainted) or hides it, when the
// window exists; returns the new value.
bool FlipStateViewVisible();
