#include <gtest/gtest.h>

#include <string>

#include "link/BridgeId.h"

namespace {

struct BridgeCase {
    std::u16string text;
    bool matches;
};

class BridgeIdTable : public ::testing::TestWithParam<BridgeCase> {};

TEST_P(BridgeIdTable, Matches) {
    EXPECT_EQ(MatchesBridgeId(GetParam().text), GetParam().matches);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, BridgeIdTable,
    ::testing::Values(
        BridgeCase{u"USB\\VID_067B&PID_27A5&REV_0100", true},
        BridgeCase{u"usb\\vid_067b&pid_27a5\\5&2a3b", true},     // lower case
        BridgeCase{u"{36fc9e60-c465}\\VID_067B&PID_27A5", true}, // behind a class guid
        BridgeCase{u"USB\\{VID_067B&PID_27A5}", true},           // between braces
        BridgeCase{u"VID_{067B}&PID_27A5", true},                // braces removed anywhere
        BridgeCase{u"USB\\VID_067B&PID_27A6", false},            // another product
        BridgeCase{u"USB\\VID_067B&PID_27A", false},             // cut short
        BridgeCase{u"", false},
        BridgeCase{u"USB\\VID_1234&PID_0001\0USB\\VID_067B&PID_27A5\0\0"s, true}, // second string
        BridgeCase{u"USB\\ROOT_HUB\0\0USB\\VID_067B&PID_27A5\0"s, true},          // after an empty string
        BridgeCase{u"USB\\VID_067B\0&PID_27A5\0"s, false},                        // never across strings
        BridgeCase{u"VID_067B&PID_27A5"s + u'\u00e9', true},
        BridgeCase{u"VID_067B&\u0130PID_27A5", false})); // a non-ASCII letter is not folded into the id

} // namespace
