// Finding, opening and closing the cable's HID interface, and the report transfers.
#include <cstring>
#include <optional>
#include <string>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/StallScope.h"
#include "input/HidOutputReport.h"
#include "input/UsbHidLink.h"
#include "input/UsbHidLocked.h"

namespace {

constexpr char kModule[] = "USBHID";
// Searches and opens repeat about once a second while the cable is wanted (probe, worker), sends with every
// key and move: each failure kind is logged at most once per interval.
constexpr uint32_t kSearchFailureLogMs = 30000;
constexpr uint32_t kTransferFailureLogMs = 1000;

const char* StatusName(HidIoStatus status) {
    switch (status) {
    case HidIoStatus::Done:
        return "done";
    case HidIoStatus::TimedOut:
        return "timeout";
    case HidIoStatus::Failed:
        return "failed";
    }
    return "?";
}

unsigned CommandNumber(const HidCableFrame& frame) {
    return static_cast<unsigned>(frame.Command());
}

// Keeps a found path in the context; a path that does not fit the context's buffer is refused whole, since
// a cut path would name another device or none.
int StorePath(UsbHidContext& context, const std::optional<std::string>& path) {
    if (!path)
        return -1;
    if (path->size() >= kHidPathCapacity) {
        if (LogThrottle::Allow("usbhid.search.path", kSearchFailureLogMs))
            Log::Write("[HID][SEARCH][REFUSED] device path of %zu bytes does not fit %zu", path->size(),
                       kHidPathCapacity - 1);
        return -1;
    }
    std::memcpy(context.devicePath, path->c_str(), path->size() + 1);
    return 1;
}

// The device's report lengths; without preparsed data the handle is closed, so the next call opens again.
std::optional<HidReportLengths> LengthsOrClose(UsbHidContext& context, const char* step) {
    std::optional<HidReportLengths> lengths = context.device->ReportLengths();
    if (!lengths) {
        if (LogThrottle::Allow("usbhid.preparsed", kTransferFailureLogMs))
            Log::Write("[HID][%s][FAIL] no preparsed data; handle closed", step);
        UsbHidLocked::Close(context);
    }
    return lengths;
}

} // namespace

namespace UsbHidLocked {

int Search(UsbHidContext& context) {
    StallScope scope(kModule, "SearchHid", 200);
    return StorePath(context, context.transport.FindDevice(context.vendorId, context.productId));
}

int Open(UsbHidContext& context) {
    StallScope scope(kModule, "OpenHid", 200);
    if (context.device) {
        Close(context);
        return -1;
    }
    const int found = Search(context);
    if (found != 1)
        return found;
    uint32_t error = 0;
    context.device = context.transport.Open(context.devicePath, error);
    if (!context.device) {
        // Still 1: the device is there. Callers look at the handle.
        if (LogThrottle::Allow("usbhid.open", kSearchFailureLogMs))
            Log::Write("[HID][OPEN][FAIL] path=%s error=%lu", context.devicePath,
                       static_cast<unsigned long>(error));
        return 1;
    }
    Log::Write("[HID][OPEN] path=%s", context.devicePath);
    context.outputReportLength = kHidReportBufferSize;
    ResetKeyboard(context);
    return 1;
}

void Close(UsbHidContext& context) {
    context.device.reset();
}

int EnsureOpen(UsbHidContext& context) {
    if (!context.device)
        Open(context);
    return context.device ? 1 : -1;
}

int Send(UsbHidContext& context, const HidCableFrame& frame) {
    StallScope scope(kModule, "SendHidData", 100);
    if (!context.device)
        return -1;
    std::optional<HidReportLengths> lengths = LengthsOrClose(context, "SEND");
    if (!lengths)
        return -1;
    const uint32_t length = lengths->output;
    if (CheckOutputReportLength(length, kHidReportBufferSize, frame) != HidReportFit::Fits) {
        if (LogThrottle::Allow("usbhid.send.length", kTransferFailureLogMs))
            Log::Write("[HID][SEND][REFUSED] output report length %u outside %zu..%u command=%u", length,
                       frame.length + 1, kHidReportBufferSize, CommandNumber(frame));
        return -1;
    }
    AssembleOutputReport(context.outputReport, length, frame);
    if (!context.device->PrepareOutputReport(context.outputReport, length)) {
        if (LogThrottle::Allow("usbhid.send.prepare", kTransferFailureLogMs))
            Log::Write("[HID][SEND][FAIL] output report preparation refused command=%u",
                       CommandNumber(frame));
        return -1;
    }
    const HidIoResult written = context.device->WriteReport(context.outputReport, length, kHidWriteTimeoutMs);
    if (written.status != HidIoStatus::Done || written.bytes != length) {
        if (LogThrottle::Allow("usbhid.send.write", kTransferFailureLogMs))
            Log::Write("[HID][SEND][FAIL] command=%u wrote=%u of %u status=%s error=%lu",
                       CommandNumber(frame), written.bytes, length, StatusName(written.status),
                       static_cast<unsigned long>(written.error));
        return -1;
    }
    return 1;
}

int Receive(UsbHidContext& context) {
    StallScope scope(kModule, "RecvHidData", 100);
    if (!context.device)
        return -1;
    std::optional<HidReportLengths> lengths = LengthsOrClose(context, "RECV");
    if (!lengths)
        return -1;
    const uint32_t length = lengths->input;
    if (length == 0 || length > kHidReportBufferSize) {
        if (LogThrottle::Allow("usbhid.recv.length", kTransferFailureLogMs))
            Log::Write("[HID][RECV][REFUSED] input report length %u outside 1..%u", length,
                       kHidReportBufferSize);
        return -1;
    }
    const HidIoResult read = context.device->ReadReport(context.inputReport, length, kHidReplyTimeoutMs);
    if (read.status == HidIoStatus::TimedOut) {
        Log::Write("[HID][RECV][TIMEOUT] no reply within %u ms", kHidReplyTimeoutMs);
        return -1;
    }
    if (read.status != HidIoStatus::Done) {
        if (LogThrottle::Allow("usbhid.recv.read", kTransferFailureLogMs))
            Log::Write("[HID][RECV][FAIL] read=%u of %u error=%lu", read.bytes, length,
                       static_cast<unsigned long>(read.error));
        return -1;
    }
    return static_cast<int>(read.bytes);
}

} // namespace UsbHidLocked

namespace UsbHidLink {

int SearchHid(UsbHidContext& context) {
    StallScope scope(kModule, "SearchHid", 200);
    // The enumeration runs without the lock (it touches nothing of the context), so a probe does not hold
    // up the reports of another thread; only the path is stored under it.
    std::optional<std::string> path = context.transport.FindDevice(context.vendorId, context.productId);
    std::lock_guard<std::mutex> lock(context.mutex);
    return StorePath(context, path);
}

int OpenHid(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    return UsbHidLocked::Open(context);
}

void CloseHid(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    UsbHidLocked::Close(context);
}

bool IsOpen(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    return context.device != nullptr;
}

int SendHidData(UsbHidContext& context, const HidCableFrame& frame) {
    std::lock_guard<std::mutex> lock(context.mutex);
    return UsbHidLocked::Send(context, frame);
}

int RecvHidData(UsbHidContext& context) {
    std::lock_guard<std::mutex> lock(context.mutex);
    return UsbHidLocked::Receive(context);
}

} // namespace UsbHidLink
