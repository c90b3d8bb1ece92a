#include "app/DragVisualLifecycleModule.h"

// Nothing to start: the service comes up on demand.
bool DragVisualLifecycleModule::Start() {
    return true;
}

// The overlay is not built yet: nothing to stop.
void DragVisualLifecycleModule::Stop() {}
