#pragma once

#include "core/WorkerThread.h"

// Starts the tile codec's workers: each raises its own priority to THREAD_PRIORITY_ABOVE_NORMAL before
// its body runs, so the four quadrants of a frame are not held up behind ordinary work of the process. A
// worker whose priority cannot be raised still runs, and says so in the log.
WorkerThread::Launcher TileWorkerPriorityLauncher();
