#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "link/RndisAddress.h"
#include "core/StateTestSupport.h"
#include "support/TestLog.h"

namespace {

constexpr uint32_t Ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

std::string U8(const std::u16string& text) {
    return Utf16ToUtf8(text);
}

RndisAdapterInfo Info(std::u16string ipv4, std::u16string mac, uint32_t index) {
    RndisAdapterInfo info;
    info.found = true;
    info.name = u"Ethernet 5";
    info.ipv4 = std::move(ipv4);
    info.mac = std::move(mac);
    info.interfaceIndex = index;
    return info;
}

// Another adapter (index 77) that holds 10.x.y.z for every z in [zFrom, zTo] of each listed y.
AdapterRecord Holder(uint32_t x, uint32_t yFrom, uint32_t yTo, uint32_t zFrom, uint32_t zTo) {
    AdapterRecord holder;
    holder.description = u"other";
    holder.interfaceIndex = 77;
    for (uint32_t y = yFrom; y <= yTo; ++y)
        for (uint32_t z = zFrom; z <= zTo; ++z)
            holder.ipv4.push_back({Ip(10, x, y, z), 8});
    return holder;
}

TEST(RndisAddress, MacOctetsAtThreeCharacterSteps) {
    struct Case {
        std::u16string mac;
        int index;
        int octet;
    };
    for (const Case& c :
         {Case{u"AA-BB-CC-DD-EE-FF", 0, 0xAA}, Case{u"AA-BB-CC-DD-EE-FF", 3, 0xDD},
          Case{u"AA-BB-CC-DD-EE-FF", 5, 0xFF}, Case{u"aa-bb-cc-0d-e0-9f", 5, 0x9F},
          Case{u"AA-BB-CC-DD-EE-FF", 6, 0}, // past the end
          Case{u"AA-BB-CC-DD-EE-F", 5, 0},  // one digit left
          Case{u"AA-BB-CC-XZ-EE-FF", 3, 0}, // non-hex digits count as 0
          Case{u"AA-BB-CC-DG-EE-FF", 3, 0xD0}, Case{u"-", 3, 0}, Case{u"", 0, 0}, Case{u"AA-BB", -1, 0}})
        EXPECT_EQ(ParseMacOctet(c.mac, c.index), c.octet) << U8(c.mac) << " #" << c.index;
}

TEST(RndisAddress, DerivationTable) {
    struct Case {
        const char* name;
        RndisAdapterInfo adapter;
        std::vector<AdapterRecord> others;
        const char* address;
    };
    AdapterRecord holdsOwnIp;
    holdsOwnIp.interfaceIndex = 4;
    holdsOwnIp.ipv4 = {{Ip(10, 1, 2, 3), 16}};
    AdapterRecord itself = holdsOwnIp;
    itself.interfaceIndex = 12;

    const Case cases[] = {
        // 10.(703 mod 220 + 16).(323 mod 253 + 1).(551 mod 230 + 10)
        {"index 0 counts as 19", Info(u"-", u"AA-BB-CC-00-00-00", 0), {}, "10.59.71.101"},
        {"bytes 3 to 5 and the index", Info(u"169.254.3.4", u"00-00-00-01-02-03", 5), {}, "10.202.88.158"},
        {"own 10.x address kept", Info(u"10.1.2.3", u"AA-BB-CC-00-00-00", 12), {}, "10.1.2.3"},
        {"own address held by the adapter itself",
         Info(u"10.1.2.3", u"AA-BB-CC-00-00-00", 12),
         {itself},
         "10.1.2.3"},
        // 10.(444 mod 220 + 16).(204 mod 253 + 1).(348 mod 230 + 10)
        {"own address held by another",
         Info(u"10.1.2.3", u"AA-BB-CC-00-00-00", 12),
         {holdsOwnIp},
         "10.20.205.128"},
        {"index 0: any adapter holding it counts",
         Info(u"10.1.2.3", u"AA-BB-CC-00-00-00", 0),
         {itself},
         "10.59.71.101"},
        {"held candidate: z steps",
         Info(u"-", u"AA-BB-CC-00-00-00", 0),
         {Holder(59, 71, 71, 101, 102)},
         "10.59.71.103"},
        {"z wraps to 10 and y steps",
         Info(u"-", u"AA-BB-CC-00-00-00", 0),
         {Holder(59, 71, 71, 101, 249)},
         "10.59.72.10"},
        // First candidate 10.235.253.239: a=0xB0, b=0xB6, c=0x8A with index 0.
        {"first candidate at the top", Info(u"-", u"00-00-00-B0-B6-8A", 0), {}, "10.235.253.239"},
        {"y wraps to 1 and x wraps from 236 to 16",
         Info(u"-", u"00-00-00-B0-B6-8A", 0),
         {Holder(235, 253, 253, 239, 249)},
         "10.16.1.10"},
        // 1024 candidates from 10.59.71.101: 149 at y=71, 240 each at y=72..74, 155 at y=75 (z 10..164).
        {"1023 held",
         Info(u"-", u"AA-BB-CC-00-00-00", 0),
         {Holder(59, 71, 71, 101, 249), Holder(59, 72, 74, 10, 249), Holder(59, 75, 75, 10, 163)},
         "10.59.75.164"},
        {"all 1024 held",
         Info(u"-", u"AA-BB-CC-00-00-00", 0),
         {Holder(59, 71, 71, 101, 249), Holder(59, 72, 74, 10, 249), Holder(59, 75, 75, 10, 164)},
         "10.250.250.10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(U8(DeriveRndisAddress(c.adapter, c.others)), c.address) << c.name;
}

TEST(RndisAddress, GatesLetOneLookPerThreeSecondsAndOneFixPerFifteen) {
    RndisCheckGates gates;
    EXPECT_TRUE(gates.BeginCheck(0xFFFFF000u)) << "the first look always passes";
    EXPECT_FALSE(gates.BeginCheck(0xFFFFF000u + 2999));
    EXPECT_TRUE(gates.BeginCheck(0xFFFFF000u + 3000)) << "across the tick wrap";
    EXPECT_FALSE(gates.BeginCheck(0xFFFFF000u + 3001));

    EXPECT_TRUE(gates.BeginFix(500));
    EXPECT_FALSE(gates.BeginFix(500 + 14999));
    EXPECT_TRUE(gates.BeginFix(500 + 15000));
    EXPECT_FALSE(gates.BeginFix(500 + 15001));
}

class RndisCheck : public ::testing::Test {
protected:
    RndisCheck() {
        Log::Open();
        TestLog().Clear();
    }
    ~RndisCheck() override { Log::Close(); }

    std::optional<RndisFixPlan> Next(uint32_t now, bool cablePresent, std::u16string simulated = u"") {
        return check.Next(
            now, cablePresent,
            [this] {
                ++listings;
                return adapters;
            },
            simulated);
    }

    static AdapterRecord Cable(std::vector<AdapterIpv4> ipv4) {
        AdapterRecord cable;
        cable.description = u"Remote NDIS Compatible Device";
        cable.friendlyName = u"Ethernet 5";
        cable.interfaceIndex = 12;
        cable.physicalAddress = {0xAA, 0xBB, 0xCC, 0x00, 0x00, 0x00};
        cable.ipv4 = std::move(ipv4);
        cable.up = true;
        return cable;
    }

    RndisAddressCheck check;
    std::vector<AdapterRecord> adapters;
    int listings = 0;
};

TEST_F(RndisCheck, NothingHappensWhileTheCableIsMissing) {
    adapters = {Cable({{Ip(169, 254, 1, 1), 16}})};
    EXPECT_FALSE(Next(10000, false));
    EXPECT_EQ(listings, 0) << "no adapter lookup, no netsh, for a cable that is not plugged in";
    EXPECT_FALSE(Next(12000, true)) << "the look at 10000 still counts";
    EXPECT_TRUE(Next(13000, true));
}

TEST_F(RndisCheck, ATetheredPhoneIsLeftAlone) {
    AdapterRecord phone = Cable({{Ip(192, 168, 42, 129), 24}});
    phone.description = u"Remote NDIS based Internet Sharing Device";
    phone.friendlyName = u"Ethernet 4";
    adapters = {phone};
    EXPECT_FALSE(Next(10000, true));
    EXPECT_EQ(listings, 1);
}

TEST_F(RndisCheck, FixesAWrongAddressOrMaskOnceInFifteenSeconds) {
    adapters = {Cable({{Ip(10, 1, 2, 3), 8}})};
    EXPECT_FALSE(Next(10000, true)) << "10.x with 255.0.0.0 is fine";

    adapters = {Cable({{Ip(10, 1, 2, 3), 16}})};
    std::optional<RndisFixPlan> plan = Next(13000, true);
    ASSERT_TRUE(plan);
    EXPECT_EQ(U8(plan->adapterName), "Ethernet 5");
    EXPECT_EQ(U8(plan->ip), "10.1.2.3") << "only the mask changes";

    EXPECT_FALSE(Next(16000, true));
    EXPECT_FALSE(Next(27999, true));
    adapters = {Cable({{Ip(169, 254, 9, 9), 16}})};
    plan = Next(31000, true);
    ASSERT_TRUE(plan);
    EXPECT_EQ(U8(plan->ip), "10.20.205.128") << "from MAC AA-BB-CC-00-00-00 and index 12";

    adapters = {Cable({})};
    EXPECT_FALSE(Next(34000, true));
    EXPECT_TRUE(Next(46000, true)) << "no address at all is fixed too";
}

TEST_F(RndisCheck, TheSimulatedAdapterStandsForTheCable) {
    AdapterRecord lo = Cable({{Ip(127, 0, 0, 1), 8}});
    lo.description = u"lo";
    lo.friendlyName = u"lo";
    adapters = {Cable({{Ip(10, 1, 2, 3), 8}}), lo};
    std::optional<RndisFixPlan> plan = Next(10000, true, u"lo");
    ASSERT_TRUE(plan) << "the real cable adapter is fine, but the simulated one is the cable now";
    EXPECT_EQ(U8(plan->adapterName), "lo");
}

class RndisNetsh : public ::testing::Test {
protected:
    RndisNetsh() { Log::Open(); }
    ~RndisNetsh() override { Log::Close(); }
};

TEST_F(RndisNetsh, Arguments) {
    struct Case {
        std::u16string name;
        std::u16string ip;
        const char* arguments; // null: refused
    };
    const Case cases[] = {
        {u"Ethernet 5", u"10.59.71.101",
         "/c netsh interface ipv4 set address name=\"Ethernet 5\" static 10.59.71.101 255.0.0.0 none"},
        {u"以太网 2", u"10.1.2.3",
         "/c netsh interface ipv4 set address name=\"以太网 2\" static 10.1.2.3 255.0.0.0 none"},
        {u"A & B", u"10.1.2.3",
         "/c netsh interface ipv4 set address name=\"A & B\" static 10.1.2.3 255.0.0.0 none"},
        {u"", u"10.1.2.3", nullptr},
        {u"Ethernet", u"", nullptr},
        {u"Eth\"ernet", u"10.1.2.3", nullptr},
        {u"%PATH%", u"10.1.2.3", nullptr},
        {u"Eth\nernet", u"10.1.2.3", nullptr},
        {u"Ethernet", u"10.1.2.3 & calc", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<std::u16string> arguments = BuildNetshArguments(c.name, c.ip);
        EXPECT_EQ(arguments ? U8(*arguments) : "(refused)", c.arguments ? c.arguments : "(refused)");
    }
}

TEST_F(RndisNetsh, OutcomeIsLoggedAndShown) {
    RuntimeTestBinding runtime;
    struct Case {
        NetshOutcome outcome;
        bool ok;
        const char* line;
        const char* status;
    };
    const Case cases[] = {
        {{NetshOutcome::Kind::Exited, 0, 0, false, 0},
         true,
         "Remote NDIS IP auto-fix OK",
         "Remote NDIS IP auto-fix OK"},
        {{NetshOutcome::Kind::Exited, 1, 0, false, 0},
         false,
         "Remote NDIS IP auto-fix netsh failed exit=1. Run as administrator is required.",
         "Remote NDIS IP auto-fix failed: run as administrator"},
        {{NetshOutcome::Kind::LaunchFailed, 0, 2, false, 0},
         false,
         "Remote NDIS IP auto-fix launch failed gle=2",
         "Remote NDIS IP auto-fix failed: cannot launch netsh"},
        {{NetshOutcome::Kind::TimedOut, kStillActiveExitCode, 0, true, 5000},
         false,
         "Remote NDIS IP auto-fix netsh failed exit=259. Run as administrator is required.",
         "Remote NDIS IP auto-fix failed: run as administrator"},
        {{NetshOutcome::Kind::TimedOut, kStillActiveExitCode, 5, false, 5000},
         false,
         "Remote NDIS IP auto-fix netsh failed exit=259. Run as administrator is required.",
         "Remote NDIS IP auto-fix failed: run as administrator"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        EXPECT_EQ(ReportRndisFixOutcome(c.outcome), c.ok) << c.line;
        std::vector<std::string> lines{c.line};
        if (c.outcome.kind == NetshOutcome::Kind::TimedOut)
            lines.insert(lines.begin(),
                         "Remote NDIS IP auto-fix netsh still running after 5000 ms; terminated=" +
                             std::to_string(c.outcome.terminated ? 1 : 0) +
                             " gle=" + std::to_string(c.outcome.error));
        EXPECT_EQ(TestLog().Messages(), lines);
        EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, c.status);
    }
}

} // namespace
