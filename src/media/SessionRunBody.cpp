#include "media/SessionRunBody.h"

#include <chrono>
#include <thread>

#include "core/Log.h"
#include "media/Session.h"

namespace {
// How quickly a held session notices that it was stopped.
constexpr auto kHoldPoll = std::chrono::milliseconds(20);
} // namespace

HoldUntilStoppedRunBody& HoldUntilStoppedRunBody::Instance() {
    static HoldUntilStoppedRunBody* body = new HoldUntilStoppedRunBody();
    return *body;
}

SessionRunEnd HoldUntilStoppedRunBody::Run(const SessionThreadArg& arg) {
    Log::Write("[SESSION][RUN] %s has no run body installed; holding gen=%lu until stopped",
               arg.session != nullptr ? arg.session->Name() : "?",
               static_cast<unsigned long>(arg.generation));
    while (IsSessionGenerationCurrent(arg.session, arg.generation))
        std::this_thread::sleep_for(kHoldPoll);
    return SessionRunEnd::Finished;
}
