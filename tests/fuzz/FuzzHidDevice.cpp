// The cable's device layer over whatever the system and the device report: a path of any length, any report
// lengths, refused preparations, short, failed or timed-out writes and reads, in any order of calls. Checks:
// nothing is read or written outside the context's buffers (the address sanitizer), every report written
// is exactly the device's stated output length within the 1,024-byte buffer, starts with report id 0 and
// carries one whole frame with a correct checksum, and a kept device path always fits its buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "../input/FakeHidTransport.h"
#include "input/UsbHidLink.h"

#include "FuzzChecks.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_at >= m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

HidIoStatus Status(uint8_t b) {
    return b % 3 == 0 ? HidIoStatus::Done : (b % 3 == 1 ? HidIoStatus::TimedOut : HidIoStatus::Failed);
}

FakeHidTransport::Settings ReadSettings(Reader& in) {
    FakeHidTransport::Settings s;
    const uint8_t flags = in.Byte();
    s.present = (flags & 0x01) == 0;
    s.openFails = (flags & 0x02) != 0;
    s.prepareOk = (flags & 0x04) == 0;
    if (flags & 0x08)
        s.lengths = std::nullopt;
    else
        s.lengths = HidReportLengths{in.Word(), in.Word()};
    s.path = std::string(in.Word() % 600, 'p');
    s.writeStatus = Status(in.Byte());
    s.writeShortBy = in.Byte() % 4 == 0 ? 1 : 0;
    s.readStatus = Status(in.Byte());
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    FakeHidTransport fake;
    fake.Set(ReadSettings(in));
    std::unique_ptr<UsbHidContext> context = fake.MakeContext();
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const uint8_t op = in.Byte();
        const uint32_t a = in.Word();
        const int32_t b = static_cast<int16_t>(in.Word());
        switch (op % 12) {
        case 0:
            UsbHidLink::SearchHid(*context);
            break;
        case 1:
            UsbHidLink::OpenHid(*context);
            break;
        case 2:
            UsbHidLink::SetKBMsg(*context, a & 0x1FF, 0x100 + (b & 0x7));
            break;
        case 3:
            UsbHidLink::SetMouseMsg(*context, 0x1FE + (a % 16), b, static_cast<int32_t>(a));
            break;
        case 4:
            UsbHidLink::SetMouseWheelMsg(*context, 0, b, b, static_cast<int32_t>(a << 16) | (b & 0xFFFF));
            break;
        case 5:
            UsbHidLink::SetSystemKey(*context);
            break;
        case 6:
            UsbHidLink::SetUSBDiskChange(*context, static_cast<uint8_t>(a));
            break;
        case 7:
            UsbHidLink::SetUSBPORTChange(*context, static_cast<uint8_t>(a));
            break;
        case 8:
            UsbHidLink::SetUSBHardWareReset(*context);
            break;
        case 9:
            UsbHidLink::SetUSBKBDefault(*context);
            break;
        case 10:
            UsbHidLink::RecvHidData(*context);
            break;
        default:
            fake.Set(ReadSettings(in)); // the device changes its answers
            break;
        }
        FuzzCheck(std::strlen(context->devicePath) < kHidPathCapacity, "kept path overruns its buffer");
    }

    for (const std::vector<uint8_t>& report : fake.Reports()) {
        FuzzCheck(report.size() <= kHidReportBufferSize, "report longer than the buffer");
        FuzzCheck(report.size() >= 8 && report[0] == 0 && report[1] == 0x55 && report[2] == 0xAA,
                  "report without id 0 and frame header");
        const size_t frameLength = report[5] + 6u;
        FuzzCheck(frameLength <= 20 && frameLength + 1 <= report.size(), "frame does not fit the report");
        FuzzCheck(report[frameLength] == HidChecksum(report.data() + 1, frameLength - 1), "frame checksum");
    }
    return 0;
}
