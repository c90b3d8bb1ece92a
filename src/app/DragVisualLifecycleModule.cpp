#include "app/DragVisualLifecycleModule.h"

void DragVisualLifecycleModule::BindOverlayStop(StopFn stop) {
    s_stop.store(stop);
}

// Nothing to start: the overlay thread comes up with the first drag that shows it.
bool DragVisualLifecycleModule::Start() {
    return true;
}

void DragVisualLifecycleModule::Stop() {
    if (StopFn stop = s_stop.load())
        stop();
}
