#pragma once

// The black cover that lies over RemoteView whenever it shows no picture. The window belongs to the UI
// thread: it is created there, and the calls below only record the wish and post it to that thread, so the
// render and session threads may call them at any time. Until the window side installs itself
// (SetRemoteViewCover) the calls do nothing.
class IRemoteViewCover {
public:
    virtual ~IRemoteViewCover() = default;
    virtual void Show(bool show) = 0;
    // Shows the cover and paints RemoteView black at once (the GDI fallback of a stopped renderer).
    virtual void PaintBlack() = 0;
    // The last wish recorded by Show or PaintBlack.
    virtual bool IsShown() const = 0;
};

// The object must live to the end of the process. Null: none.
void SetRemoteViewCover(IRemoteViewCover* cover);
IRemoteViewCover* RemoteViewCover();
