#include "media/AnnexB.h"

namespace {

// Length of a start code at i (3 or 4), or 0 when there is none.
size_t StartCodeAt(const uint8_t* data, size_t size, size_t i) {
    if (i + 3 <= size && data[i] == 0 && data[i + 1] == 0) {
        if (data[i + 2] == 1)
            return 3;
        if (i + 4 <= size && data[i + 2] == 0 && data[i + 3] == 1)
            return 4;
    }
    return 0;
}

} // namespace

void ForEachNalUnit(const uint8_t* data, size_t size, const std::function<bool(const NalUnit&)>& visit) {
    if (data == nullptr)
        return;
    bool open = false;
    NalUnit unit;
    size_t i = 0;
    while (i < size) {
        const size_t length = StartCodeAt(data, size, i);
        if (length == 0) {
            ++i;
            continue;
        }
        // A unit whose header byte would be the first byte of the next start code is empty.
        if (open && i > unit.header) {
            unit.end = i;
            if (!visit(unit))
                return;
        }
        unit = NalUnit{i, i + length, size};
        open = unit.header < size;
        i += length;
    }
    if (open)
        visit(unit);
}

NalPresence ScanNalTypes(const uint8_t* data, size_t size) {
    NalPresence presence;
    ForEachNalUnit(data, size, [&](const NalUnit& unit) {
        switch (unit.Type(data)) {
        case kNalIdrSlice:
            presence.idr = true;
            break;
        case kNalSps:
            presence.sps = true;
            break;
        case kNalPps:
            presence.pps = true;
            break;
        default:
            break;
        }
        return true;
    });
    return presence;
}

std::vector<uint8_t> ExtractNalUnits(const uint8_t* data, size_t size, uint8_t type) {
    std::vector<uint8_t> units;
    ForEachNalUnit(data, size, [&](const NalUnit& unit) {
        if (unit.Type(data) == type)
            units.insert(units.end(), data + unit.startCode, data + unit.end);
        return true;
    });
    return units;
}

std::vector<uint8_t> FirstNalPayload(const uint8_t* data, size_t size, uint8_t type) {
    std::vector<uint8_t> payload;
    ForEachNalUnit(data, size, [&](const NalUnit& unit) {
        if (unit.Type(data) != type)
            return true;
        payload.assign(data + unit.header, data + unit.end);
        return false;
    });
    return payload;
}
