#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "dragdrop/win/DragDrop.h"
#include "input/RemoteInputRoute.h"
#include "transfer/DroppedFilesChannel.h"
#include "transfer/PendingOfferQueue.h"
#include "ui/DroppedFilesDecision.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"

void MainWindowOnDropFiles(HWND window, HDROP drop) {
    (void)window;
    IMainWindowParts& parts = MainWindowParts();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Taking the paths finishes the drop, so the shell's memory is released whatever is decided below.
    std::vector<std::u16string> paths;
    DragDrop::ExtractHdropFiles(drop, paths, true);

    DropFacts facts;
    facts.virtualScreenMode = parts.VirtualScreenMode();
    facts.nearVirtualEdge = facts.virtualScreenMode != 0 && parts.IsNearVirtualEdge(cursor);
    facts.clipboardEnabled = parts.IsClipboardServiceEnabled();
    facts.appRunning = RuntimeIsAppRunning();
    facts.pathCount = paths.size();
    facts.remoteControlActive = facts.pathCount != 0 && RemoteInputRoute().IsRemoteControlActive();

    switch (DecideDroppedFiles(facts)) {
    case DropAction::IgnoreVirtualEdge:
        Log::Write("[VSCREEN][GUARD] ignore WM_DROPFILES into MainWindow only on virtual edge pt=%ld,%ld",
                   long(cursor.x), long(cursor.y));
        return;
    case DropAction::FailDisabled:
        Log::Write("[TRANSFER][OFFER][FAIL] file control channel disabled");
        return;
    case DropAction::IgnoreNotRunning:
        return;
    case DropAction::FailEmpty:
        Log::Write("[TRANSFER][OFFER][FAIL] empty path list");
        return;
    case DropAction::FailNotReady:
        Log::Write("[TRANSFER][OFFER][FAIL] remote input/control path not ready count=%u",
                   static_cast<unsigned>(paths.size()));
        return;
    case DropAction::Offer:
        break;
    }
    OfferDroppedFiles(paths, DroppedFilesChannel(), PendingOfferQueue::Instance());
    SetStatusAndRepaint("Sending dropped files...");
}
