#include <gtest/gtest.h>

#include <string>

#include "TransferTestLog.h"
#include "transfer/HttpUrl.h"

namespace {

struct UrlCase {
    const char* name;
    const char* url;
    bool ok;
    const char* host;
    int port;
    const char* path;
    const char* log; // the one line written on failure
};

class ParseUrlTest : public TransferLogTest, public ::testing::WithParamInterface<UrlCase> {};

TEST_P(ParseUrlTest, Parts) {
    const UrlCase& c = GetParam();
    ParsedUrl parsed;
    parsed.host = "untouched";
    ASSERT_EQ(HttpClient::ParseUrl(c.url, parsed), c.ok);
    if (c.ok) {
        EXPECT_EQ(parsed.host, c.host);
        EXPECT_EQ(parsed.port, c.port);
        EXPECT_EQ(parsed.path, c.path);
        EXPECT_TRUE(Lines().empty());
    } else {
        EXPECT_EQ(parsed.host, "untouched") << "a refused URL leaves the result alone";
        EXPECT_EQ(Lines(), std::vector<std::string>{c.log});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseUrlTest,
    ::testing::Values(
        UrlCase{"Full", "http://10.0.0.2:50123/manifest?id=2600001", true, "10.0.0.2", 50123,
                "/manifest?id=2600001", nullptr},
        UrlCase{"HostOnly", "http://host", true, "host", 80, "/", nullptr},
        UrlCase{"PortNoPath", "http://host:8000", true, "host", 8000, "/", nullptr},
        UrlCase{"PortStopsAtNonDigit", "http://host:80x/a", true, "host", 80, "/a", nullptr},
        UrlCase{"HighestPort", "http://h:65535/", true, "h", 65535, "/", nullptr},
        UrlCase{"Https", "https://host/", false, "", 0, "", "[HTTP][CLIENT][ERR] invalid url=https://host/"},
        UrlCase{"UpperCaseScheme", "HTTP://host/", false, "", 0, "",
                "[HTTP][CLIENT][ERR] invalid url=HTTP://host/"},
        UrlCase{"Ftp", "ftp://host/", false, "", 0, "", "[HTTP][CLIENT][ERR] invalid url=ftp://host/"},
        UrlCase{"SchemeNotAtStart", " http://host/", false, "", 0, "",
                "[HTTP][CLIENT][ERR] invalid url= http://host/"},
        UrlCase{"SpaceInPath", "http://h/a b", false, "", 0, "",
                "[HTTP][CLIENT][ERR] invalid url=http://h/a b"},
        UrlCase{"LineEndInPath", "http://h/a\r\nX: y", false, "", 0, "",
                "[HTTP][CLIENT][ERR] invalid url=http://h/a\\r\\nX: y"}, // the log escapes line ends
        UrlCase{"EmptyHost", "http://:80/a", false, "", 0, "",
                "[HTTP][CLIENT][ERR] parse url failed url=http://:80/a hostPort=:80"},
        UrlCase{"NothingAfterScheme", "http://", false, "", 0, "",
                "[HTTP][CLIENT][ERR] parse url failed url=http:// hostPort="},
        UrlCase{"PortZero", "http://h:0/", false, "", 0, "",
                "[HTTP][CLIENT][ERR] parse url failed url=http://h:0/ hostPort=h:0"},
        UrlCase{"PortNotANumber", "http://h:x/", false, "", 0, "",
                "[HTTP][CLIENT][ERR] parse url failed url=http://h:x/ hostPort=h:x"},
        UrlCase{"PortAbove16Bits", "http://h:65536/", false, "", 0, "",
                "[HTTP][CLIENT][ERR] parse url failed url=http://h:65536/ hostPort=h:65536"},
        UrlCase{"PortHuge", "http://h:99999999999999999999/", false, "", 0, "",
                "[HTTP][CLIENT][ERR] parse url failed url=http://h:99999999999999999999/ "
                "hostPort=h:99999999999999999999"}),
    [](const ::testing::TestParamInfo<UrlCase>& info) { return std::string(info.param.name); });

struct ItemUrlCase {
    const char* name;
    const char* manifest;
    const char* item;
    bool ok;
    const char* result; // the URL, or the error text
};

class ItemUrlTest : public TransferLogTest, public ::testing::WithParamInterface<ItemUrlCase> {};

TEST_P(ItemUrlTest, Joined) {
    const ItemUrlCase& c = GetParam();
    std::string url, error;
    ASSERT_EQ(HttpClient::ItemUrl(c.manifest, c.item, "10.0.0.2", url, error), c.ok);
    EXPECT_EQ(c.ok ? url : error, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ItemUrlTest,
    ::testing::Values(
        ItemUrlCase{"RelativeTakesManifestHostAndPort", "http://10.0.0.2:5555/manifest?id=7",
                    "/file?id=7&path=C%3A%5Ca.txt", true, "http://10.0.0.2:5555/file?id=7&path=C%3A%5Ca.txt"},
        ItemUrlCase{"ManifestWithoutPortGetsPort80", "http://10.0.0.2/manifest", "/file?path=x", true,
                    "http://10.0.0.2:80/file?path=x"},
        ItemUrlCase{"AbsoluteOnAllowedHost", "http://10.0.0.2:1/m", "http://10.0.0.2:9/file?path=x", true,
                    "http://10.0.0.2:9/file?path=x"},
        ItemUrlCase{"AbsoluteOnOtherHost", "http://10.0.0.2:1/m", "http://10.0.0.9:9/file", false,
                    "host not allowed"},
        ItemUrlCase{"AbsoluteInvalid", "http://10.0.0.2:1/m", "http://10.0.0.2:0/file", false, "invalid url"},
        ItemUrlCase{"NotServerRelative", "http://10.0.0.2:1/m", "file?path=x", false, "invalid url"},
        ItemUrlCase{"EmptyItemUrl", "http://10.0.0.2:1/m", "", false, "invalid url"},
        ItemUrlCase{"ManifestUnparsable", "ftp://10.0.0.2/m", "/file?path=x", false, "invalid url"}),
    [](const ::testing::TestParamInfo<ItemUrlCase>& info) { return std::string(info.param.name); });

using ItemUrlHostTest = TransferLogTest;

TEST_F(ItemUrlHostTest, NamingAnotherHostIsLogged) {
    std::string url, error;
    EXPECT_FALSE(
        HttpClient::ItemUrl("http://10.0.0.2:1/m", "http://192.168.1.5:80/x", "10.0.0.2", url, error));
    EXPECT_EQ(Lines(), std::vector<std::string>{
                           "[HTTP][CLIENT][ERR] host not allowed host=192.168.1.5 allowed=10.0.0.2"});
}

} // namespace
