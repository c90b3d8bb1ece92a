#pragma once

// The drag-visual flag as the remote drag sees it: the overlay beside the cursor while files are carried
// across. Both sides of the remote drag switch it and log a state line when it changes.
class IDragVisualSwitch {
public:
    virtual ~IDragVisualSwitch() = default;
    // Sets the flag (starting and refreshing the overlay); its previous value.
    virtual bool ExchangeDragVisual(bool on) = 0;
};

// Sets the flag and logs "[DRAGVIS][STATE] active=%d reason=%s" when it changed.
void SwitchDragVisual(IDragVisualSwitch& visual, bool on, const char* reason);
