#include "input/InputSender.h"

#include <atomic>

namespace {
IInputSender g_stoppedSender;
std::atomic<IInputSender*> g_sender{nullptr};
} // namespace

void SetInputSender(IInputSender* sender) {
    g_sender.store(sender);
}

IInputSender& InputSender() {
    IInputSender* sender = g_sender.load();
    return sender != nullptr ? *sender : g_stoppedSender;
}
