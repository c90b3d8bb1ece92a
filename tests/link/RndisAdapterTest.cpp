#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/Utf.h"
#include "link/RndisAdapter.h"

namespace {

constexpr uint32_t Ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

AdapterRecord Adapter(std::u16string description, std::u16string friendlyName, uint32_t index,
                      std::vector<AdapterIpv4> ipv4 = {}, bool up = true) {
    AdapterRecord record;
    record.description = std::move(description);
    record.friendlyName = std::move(friendlyName);
    record.interfaceIndex = index;
    record.ipv4 = std::move(ipv4);
    record.up = up;
    return record;
}

std::string U8(const std::u16string& text) {
    return Utf16ToUtf8(text);
}

TEST(RndisAdapterText, MaskFromPrefixLength) {
    struct Case {
        uint32_t prefix;
        const char* mask;
    };
    for (const Case& c :
         {Case{0, "0.0.0.0"}, Case{1, "128.0.0.0"}, Case{8, "255.0.0.0"}, Case{16, "255.255.0.0"},
          Case{25, "255.255.255.128"}, Case{32, "255.255.255.255"}, Case{33, "-"}, Case{255, "-"}})
        EXPECT_EQ(U8(PrefixToMask(c.prefix)), c.mask) << c.prefix;
}

TEST(RndisAdapterText, MacAndAddressText) {
    EXPECT_EQ(U8(FormatMac({})), "-");
    EXPECT_EQ(U8(FormatMac({0x0a, 0xBC, 0x00, 0x01, 0xff, 0x10})), "0A-BC-00-01-FF-10");
    EXPECT_EQ(U8(FormatMac({1, 2, 3, 4, 5, 6, 7, 8, 9, 10})), "01-02-03-04-05-06-07-08") << "at most 8 bytes";
    EXPECT_EQ(U8(FormatIpv4(Ip(10, 0, 255, 1))), "10.0.255.1");
    EXPECT_EQ(U8(FormatIpv4(0)), "0.0.0.0");
}

TEST(RndisAdapterText, Ipv4Parse) {
    struct Case {
        std::u16string text;
        std::optional<uint32_t> address;
    };
    for (const Case& c :
         {Case{u"10.1.2.3", Ip(10, 1, 2, 3)}, Case{u"0.0.0.0", 0u}, Case{u"255.255.255.255", 0xFFFFFFFFu},
          Case{u"10.01.2.3", Ip(10, 1, 2, 3)}, Case{u"256.1.2.3", std::nullopt},
          Case{u"10.1.2", std::nullopt}, Case{u"10.1.2.3.4", std::nullopt}, Case{u"10.1.2.3 ", std::nullopt},
          Case{u"10..2.3", std::nullopt}, Case{u"10.1.2.0003", std::nullopt}, Case{u"-", std::nullopt},
          Case{u"", std::nullopt}})
        EXPECT_EQ(ParseIpv4(c.text), c.address) << U8(c.text);
}

TEST(RndisAdapterText, TenDotAndCableNames) {
    struct TenCase {
        std::u16string text;
        bool tenDot;
    };
    for (const TenCase& c : {TenCase{u"10.1.2.3", true}, TenCase{u"10.", true}, TenCase{u"10", false},
                             TenCase{u"100.1.2.3", false}, TenCase{u"110.1.2.3", false}, TenCase{u"-", false},
                             TenCase{u"", false}})
        EXPECT_EQ(StartsWithTenDot(c.text), c.tenDot) << U8(c.text);

    struct NameCase {
        std::u16string text;
        bool cable;
    };
    for (const NameCase& c : {NameCase{u"Remote NDIS Compatible Device", true},
                              NameCase{u"remote ndis compatible device #2", true},
                              NameCase{u"Marlo Remote NDIS Compatible Device", true},
                              NameCase{u"Remote NDIS based Internet Sharing Device", false},
                              NameCase{u"Remote NDIS", false}, NameCase{u"", false}})
        EXPECT_EQ(IsCableAdapterName(c.text), c.cable) << U8(c.text);
}

// Which adapter stands for the cable's: one rule for the address check and auto-connect alike.
TEST(RndisAdapterSelect, PicksTheCableAdapterAndNeverATetheredPhone) {
    const AdapterRecord ethernet = Adapter(u"Intel(R) Ethernet Connection", u"Ethernet", 3);
    const AdapterRecord phone = Adapter(u"Remote NDIS based Internet Sharing Device", u"Ethernet 4", 9);
    const AdapterRecord cable = Adapter(u"Remote NDIS Compatible Device #2", u"Ethernet 5", 12);
    const AdapterRecord renamed = Adapter(u"USB network", u"Remote NDIS Compatible Device", 14);
    const AdapterRecord lo = Adapter(u"lo", u"lo", 1);

    struct Case {
        const char* name;
        std::vector<AdapterRecord> adapters;
        std::u16string simulated;
        int expected; // index into adapters, -1 none
    };
    const Case cases[] = {
        {"cable after others", {ethernet, phone, cable}, u"", 2},
        {"phone alone is not the cable", {ethernet, phone}, u"", -1},
        {"by friendly name", {phone, renamed}, u"", 1},
        {"first of two", {cable, renamed}, u"", 0},
        {"nothing", {}, u"", -1},
        {"simulated by description", {ethernet, cable, lo}, u"lo", 2},
        {"simulated ignores case", {ethernet, lo}, u"LO", 1},
        {"simulated must equal, not contain", {ethernet, lo}, u"l", -1},
        {"simulated not there", {ethernet, cable}, u"veth0", -1},
        {"simulated never by friendly name", {renamed}, u"Remote NDIS Compatible Device", -1},
    };
    for (const Case& c : cases) {
        const AdapterRecord* picked = SelectCableAdapter(c.adapters, c.simulated);
        const AdapterRecord* expected =
            c.expected < 0 ? nullptr : &c.adapters[static_cast<size_t>(c.expected)];
        EXPECT_EQ(picked, expected) << c.name;
    }
}

AdapterRecord WithParent(AdapterRecord adapter, std::u16string parentIds) {
    adapter.parentIds = std::move(parentIds);
    return adapter;
}

// The cable's own child wins over every name; the description rule only decides among adapters whose parent
// could not be read, so a second gadget that calls itself like the cable's adapter is never taken.
TEST(RndisAdapterSelect, TheCableChildWinsAndTheNameOnlyDecidesWhereTheParentIsUnknown) {
    const std::u16string cableParent = std::u16string(u"USB\\VID_067B&PID_27A5\\5&1A2B3C&0&4") + u'\0' +
                                       u"USB\\VID_067B&PID_27A5&REV_0100" + u'\0' + u"USB\\VID_067B&PID_27A5";
    const std::u16string gadgetParent =
        std::u16string(u"USB\\VID_0525&PID_A4A2\\6&2B&0&1") + u'\0' + u"USB\\VID_0525&PID_A4A2&REV_0404";
    const AdapterRecord gadget =
        WithParent(Adapter(u"Remote NDIS Compatible Device", u"Ethernet 6", 20), gadgetParent);
    const AdapterRecord cable =
        WithParent(Adapter(u"Remote NDIS Compatible Device #2", u"Ethernet 7", 21), cableParent);
    const AdapterRecord cableOtherName =
        WithParent(Adapter(u"USB Ethernet/RNDIS Gadget", u"Ethernet 8", 22), u"usb\\vid_067b&pid_27a5\\{x}");
    const AdapterRecord unknownByName = Adapter(u"Remote NDIS Compatible Device #3", u"Ethernet 9", 23);
    const AdapterRecord ethernet =
        WithParent(Adapter(u"Intel(R) Ethernet Connection", u"Ethernet", 3), u"PCI\\VEN_8086&DEV_15BC\\3&1");

    struct Case {
        const char* name;
        std::vector<AdapterRecord> adapters;
        std::u16string simulated;
        int expected; // index into adapters, -1 none
    };
    const Case cases[] = {
        {"gadget named like the cable comes first", {gadget, cable}, u"", 1},
        {"cable child with another description", {unknownByName, cableOtherName}, u"", 1},
        {"gadget alone is never the cable", {ethernet, gadget}, u"", -1},
        {"unknown parent falls back to the name", {ethernet, gadget, unknownByName}, u"", 2},
        {"cable id only in a later hardware id",
         {WithParent(ethernet, std::u16string(u"ROOT\\USB\\0000") + u'\0' + u"USB\\VID_067B&PID_27A5")},
         u"",
         0},
        {"simulated adapter still decides alone", {cable, ethernet}, u"Intel(R) Ethernet Connection", 1},
    };
    for (const Case& c : cases) {
        const AdapterRecord* picked = SelectCableAdapter(c.adapters, c.simulated);
        const AdapterRecord* expected =
            c.expected < 0 ? nullptr : &c.adapters[static_cast<size_t>(c.expected)];
        EXPECT_EQ(picked, expected) << c.name;
    }
}

TEST(RndisAdapterSelect, ParentsAreAttachedByTheAdapterInstanceIdIgnoringCase) {
    std::vector<AdapterRecord> adapters = {Adapter(u"Remote NDIS Compatible Device", u"Ethernet 6", 20),
                                           Adapter(u"Remote NDIS Compatible Device #2", u"Ethernet 7", 21),
                                           Adapter(u"Wi-Fi", u"Wi-Fi", 4)};
    adapters[0].adapterId = u"{6A1E2B3C-0000-4000-8000-00000000000A}";
    adapters[1].adapterId = u"{6a1e2b3c-0000-4000-8000-00000000000b}";
    // The Wi-Fi adapter has no instance id: nothing is attached to it.
    const std::vector<NetDeviceParent> parents = {
        {u"{6A1E2B3C-0000-4000-8000-00000000000B}", u"USB\\VID_067B&PID_27A5\\1"},
        {u"{6A1E2B3C-0000-4000-8000-00000000000A}", u"USB\\VID_0525&PID_A4A2\\2"},
        {u"", u"USB\\VID_067B&PID_27A5\\3"},
    };
    AttachDeviceParents(adapters, parents);
    EXPECT_EQ(U8(adapters[0].parentIds), "USB\\VID_0525&PID_A4A2\\2");
    EXPECT_EQ(U8(adapters[1].parentIds), "USB\\VID_067B&PID_27A5\\1");
    EXPECT_TRUE(adapters[2].parentIds.empty());
    EXPECT_EQ(SelectCableAdapter(adapters, u""), &adapters[1]);
}

TEST(RndisAdapterDescribe, FillsTheDetailsFromTheFirstAddress) {
    AdapterRecord cable = Adapter(u"Remote NDIS Compatible Device", u"Ethernet 5", 12,
                                  {{Ip(169, 254, 7, 9), 16}, {Ip(10, 9, 8, 7), 8}}, false);
    cable.physicalAddress = {0xAA, 0xBB, 0xCC, 0x00, 0x11, 0x22};
    RndisAdapterInfo info = DescribeRndisAdapter(&cable);
    EXPECT_TRUE(info.found);
    EXPECT_FALSE(info.up);
    EXPECT_EQ(U8(info.name), "Ethernet 5");
    EXPECT_EQ(U8(info.description), "Remote NDIS Compatible Device");
    EXPECT_EQ(U8(info.ipv4), "169.254.7.9");
    EXPECT_EQ(U8(info.mask), "255.255.0.0");
    EXPECT_EQ(U8(info.mac), "AA-BB-CC-00-11-22");
    EXPECT_EQ(info.interfaceIndex, 12u);

    AdapterRecord unaddressed = Adapter(u"Remote NDIS Compatible Device", u"Ethernet 6", 13);
    RndisAdapterInfo bare = DescribeRndisAdapter(&unaddressed);
    EXPECT_TRUE(bare.found);
    EXPECT_EQ(U8(bare.ipv4), "-");
    EXPECT_EQ(U8(bare.mask), "-");
    EXPECT_EQ(U8(bare.mac), "-");

    RndisAdapterInfo none = DescribeRndisAdapter(nullptr);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(U8(none.ipv4), "-");
}

TEST(RndisAdapterDescribe, CableNetworkPrefersATenDotAddress) {
    AdapterRecord both = Adapter(u"d", u"n", 5, {{Ip(169, 254, 1, 2), 16}, {Ip(10, 3, 4, 5), 8}});
    CableNetwork n = DescribeCableNetwork(&both);
    EXPECT_TRUE(n.found);
    EXPECT_TRUE(n.up);
    EXPECT_TRUE(n.hasTenDot);
    EXPECT_EQ(n.ip, "10.3.4.5");

    AdapterRecord linkLocal = Adapter(u"d", u"n", 5, {{Ip(169, 254, 1, 2), 16}}, false);
    n = DescribeCableNetwork(&linkLocal);
    EXPECT_FALSE(n.up);
    EXPECT_FALSE(n.hasTenDot);
    EXPECT_EQ(n.ip, "169.254.1.2");

    AdapterRecord hundred = Adapter(u"d", u"n", 5, {{Ip(100, 1, 1, 1), 8}});
    EXPECT_FALSE(DescribeCableNetwork(&hundred).hasTenDot);

    AdapterRecord none = Adapter(u"d", u"n", 5);
    EXPECT_EQ(DescribeCableNetwork(&none).ip, "");
    EXPECT_FALSE(DescribeCableNetwork(nullptr).found);
}

TEST(RndisAdapterDescribe, IpUsedByAnotherAdapter) {
    const std::vector<AdapterRecord> adapters = {
        Adapter(u"a", u"a", 3, {{Ip(10, 1, 2, 3), 8}}),
        Adapter(u"b", u"b", 7, {{Ip(192, 168, 1, 5), 24}, {Ip(10, 9, 9, 9), 8}})};
    struct Case {
        std::u16string ip;
        uint32_t index;
        bool used;
    };
    for (const Case& c : {Case{u"10.1.2.3", 7, true}, Case{u"10.1.2.3", 3, false}, Case{u"10.1.2.3", 0, true},
                          Case{u"10.9.9.9", 3, true}, Case{u"10.9.9.9", 7, false},
                          Case{u"10.1.2.4", 0, false}, Case{u"-", 0, false}, Case{u"", 0, false}})
        EXPECT_EQ(IsIpUsedByOtherAdapter(adapters, c.ip, c.index), c.used)
            << U8(c.ip) << " index " << c.index;
}

} // namespace
