#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "service/ExitPolicyMarker.h"

namespace {

constexpr uint64_t kSecond = 10'000'000; // 100 ns units
constexpr uint64_t kEpoch = 133'000'000'000'000'000;

TEST(ExitPolicyMarker, EncodesTheExactBytes) {
    const ExitPolicyMarkerBytes bytes = EncodeExitPolicyMarker({0x11223344, 0x0102030405060708});
    const uint8_t expected[kExitPolicyMarkerSize] = {'M',  'R',  'E',  'X',  1,    0,    0,    0,
                                                     0x44, 0x33, 0x22, 0x11, 0,    0,    0,    0,
                                                     0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(std::memcmp(bytes.data(), expected, sizeof expected), 0);

    const auto decoded = DecodeExitPolicyMarker(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->windowsBootId, 0x11223344u);
    EXPECT_EQ(decoded->bootEpoch100ns, 0x0102030405060708u);
}

TEST(ExitPolicyMarker, StaleFilesDecodeToNothing) {
    const ExitPolicyMarkerBytes good = EncodeExitPolicyMarker({7, kEpoch});
    struct Case {
        const char* name;
        size_t offset;
        uint8_t value;
        size_t size;
    };
    const Case cases[] = {
        {"23 bytes", 0, 'M', 23}, {"empty", 0, 'M', 0},    {"magic", 3, 'Y', 24},
        {"version 0", 4, 0, 24},  {"version 2", 4, 2, 24}, {"version high byte", 7, 1, 24},
    };
    for (const Case& c : cases) {
        ExitPolicyMarkerBytes bytes = good;
        bytes[c.offset] = c.value;
        EXPECT_FALSE(DecodeExitPolicyMarker(bytes.data(), c.size)) << c.name;
    }
    EXPECT_FALSE(DecodeExitPolicyMarker(nullptr, 24));
    // Extra bytes after the record do not matter: only 24 are read.
    std::string longer(reinterpret_cast<const char*>(good.data()), good.size());
    longer += "tail";
    EXPECT_TRUE(DecodeExitPolicyMarker(reinterpret_cast<const uint8_t*>(longer.data()), longer.size()));
}

TEST(ExitPolicyMarker, SameBootDecision) {
    struct Case {
        const char* name;
        UserExitPolicyMarker stored;
        UserExitPolicyMarker current;
        bool same;
    };
    const Case cases[] = {
        {"equal ids", {5, kEpoch}, {5, kEpoch + 3600 * kSecond}, true},
        {"different ids, equal epochs", {5, kEpoch}, {6, kEpoch}, false},
        {"no stored id, 119 s later", {0, kEpoch}, {9, kEpoch + 119 * kSecond}, true},
        {"no current id, 119 s earlier", {9, kEpoch}, {0, kEpoch - 119 * kSecond}, true},
        {"no ids, 121 s later", {0, kEpoch}, {0, kEpoch + 121 * kSecond}, false},
        {"no ids, 121 s earlier", {0, kEpoch + 121 * kSecond}, {0, kEpoch}, false},
        {"no ids, exactly 120 s", {0, kEpoch}, {0, kEpoch + 120 * kSecond}, true},
        {"no ids, 120 s and 100 ns", {0, kEpoch + 120 * kSecond + 1}, {0, kEpoch}, false},
        {"stored epoch unknown", {0, 0}, {0, 1}, false},
        {"current epoch unknown", {0, 1}, {0, 0}, false},
        {"nothing known", {0, 0}, {0, 0}, false},
        {"epochs at the ends of the range", {0, UINT64_MAX}, {0, 1}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSameWindowsBoot(c.stored, c.current), c.same) << c.name;
}

TEST(ExitPolicyMarker, BootEpochIsClampedAtZero) {
    EXPECT_EQ(BootEpoch100ns(kEpoch, 1000), kEpoch - 1000 * 10'000);
    EXPECT_EQ(BootEpoch100ns(50'000, 5), 0u);
    EXPECT_EQ(BootEpoch100ns(50'000, 6), 0u);
    EXPECT_EQ(BootEpoch100ns(0, 0), 0u);
    EXPECT_EQ(BootEpoch100ns(kEpoch, UINT64_MAX), 0u) << "tick x 10,000 must not wrap";
}

} // namespace
