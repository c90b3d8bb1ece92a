#pragma once

#include <functional>
#include <string>

// Runs body on a new thread that nobody joins (short workers whose owner never waits for them). The thread
// logs "[THREAD][START] name=%s tid=%lu" and "[THREAD][STOP] ...", and catches and logs anything the body
// throws. name must live to the end of the process. False, with the reason in error when given, when the
// thread cannot be created.
bool StartDetachedWorker(const char* name, std::function<void()> body, std::string* error = nullptr);
