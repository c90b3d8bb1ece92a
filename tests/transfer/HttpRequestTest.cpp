#include <gtest/gtest.h>

#include <string>

#include "transfer/HttpRequest.h"

namespace {

using State = HttpRequestHeadReader::State;

const std::string kRequest =
    "GET /manifest?id=2600001 HTTP/1.1\r\nHost: 10.0.0.1\r\nConnection: close\r\n\r\n";

TEST(HttpRequestHeadReaderTest, SplitAtEveryByteGivesTheSameHead) {
    const std::string withTrailer = kRequest + "ignored body";
    for (size_t cut = 0; cut <= withTrailer.size(); ++cut) {
        HttpRequestHeadReader reader;
        State first = reader.Feed(std::string_view(withTrailer).substr(0, cut));
        State second = reader.Feed(std::string_view(withTrailer).substr(cut));
        EXPECT_EQ(first, cut >= kRequest.size() ? State::Complete : State::NeedMore) << cut;
        EXPECT_EQ(second, State::Complete) << cut;
        EXPECT_EQ(reader.Head(), kRequest) << cut;
    }
}

TEST(HttpRequestHeadReaderTest, OneByteAtATime) {
    HttpRequestHeadReader reader;
    State state = State::NeedMore;
    for (char c : kRequest) {
        ASSERT_EQ(state, State::NeedMore);
        state = reader.Feed(std::string_view(&c, 1));
    }
    EXPECT_EQ(state, State::Complete);
    EXPECT_EQ(reader.Head(), kRequest);
    EXPECT_EQ(reader.Feed("more"), State::Complete);
    EXPECT_EQ(reader.Head(), kRequest);
}

TEST(HttpRequestHeadReaderTest, HeadAtTheLimitCompletesOneByteMoreIsTooLarge) {
    const std::string start = "GET /manifest HTTP/1.1\r\nX-Pad: ";
    const std::string end = "\r\n\r\n";
    std::string exact = start + std::string(kRequestHeadMaxBytes - start.size() - end.size(), 'a') + end;
    ASSERT_EQ(exact.size(), kRequestHeadMaxBytes);
    HttpRequestHeadReader fits;
    EXPECT_EQ(fits.Feed(exact), State::Complete);

    std::string over = start + std::string(kRequestHeadMaxBytes - start.size() - end.size() + 1, 'a') + end;
    for (size_t piece : {size_t(1), size_t(7), size_t(8192), over.size()}) {
        HttpRequestHeadReader reader;
        State state = State::NeedMore;
        for (size_t at = 0; at < over.size() && state == State::NeedMore; at += piece)
            state = reader.Feed(std::string_view(over).substr(at, piece));
        EXPECT_EQ(state, State::TooLarge) << piece;
        EXPECT_LE(reader.Head().size(), kRequestHeadMaxBytes);
        EXPECT_EQ(reader.Feed(end), State::TooLarge);
    }
}

struct RouteCase {
    const char* name;
    std::string head;
    HttpRouteKind kind;
    bool hasOfferId;
    uint64_t offerId;
    std::string path;
};

class HttpRouteTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(HttpRouteTest, Routes) {
    const RouteCase& c = GetParam();
    const HttpRoute route = RouteRequest(c.head);
    EXPECT_EQ(route.kind, c.kind);
    EXPECT_EQ(route.hasOfferId, c.hasOfferId);
    EXPECT_EQ(route.offerId, c.offerId);
    EXPECT_EQ(route.path, c.path);
}

constexpr HttpRouteKind kManifest = HttpRouteKind::Manifest;
constexpr HttpRouteKind kFile = HttpRouteKind::File;
constexpr HttpRouteKind kNotFound = HttpRouteKind::NotFound;
constexpr HttpRouteKind kMethod = HttpRouteKind::MethodNotAllowed;

INSTANTIATE_TEST_SUITE_P(
    Table, HttpRouteTest,
    ::testing::Values(
        RouteCase{"manifestWithVersion", "GET /manifest HTTP/1.1\r\n\r\n", kManifest, false, 0, ""},
        RouteCase{"manifestOfOffer", "GET /manifest?id=2600001 HTTP/1.1\r\n\r\n", kManifest, true, 2600001,
                  ""},
        RouteCase{"manifestOtherQuery", "GET /manifest?x=1 HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"manifestEmptyQuery", "GET /manifest? HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"manifestIdAndMore", "GET /manifest?id=5&x=1 HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"manifestIdNotNumber", "GET /manifest?id=5a HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"manifestIdOverflow", "GET /manifest?id=18446744073709551616 HTTP/1.1\r\n\r\n", kNotFound,
                  false, 0, ""},
        RouteCase{"manifestPrefixOnly", "GET /manifests HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"postManifest", "POST /manifest HTTP/1.1\r\n\r\n", kMethod, false, 0, ""},
        RouteCase{"lowerCaseGet", "get /manifest HTTP/1.1\r\n\r\n", kMethod, false, 0, ""},
        RouteCase{"noVersion", "GET /manifest\r\n\r\n", kMethod, false, 0, ""},
        RouteCase{"noLineEnd", "GET /manifest HTTP/1.1", kManifest, false, 0, ""},
        RouteCase{"empty", "", kMethod, false, 0, ""},
        RouteCase{"fileOfOffer", "GET /file?id=7&path=C%3A%5Ca%20b.txt HTTP/1.1\r\n\r\n", kFile, true, 7,
                  "C:\\a b.txt"},
        RouteCase{"fileNewest", "GET /file?path=C%3A%5Ca.txt HTTP/1.1\r\n\r\n", kFile, false, 0, "C:\\a.txt"},
        RouteCase{"fileIdAfterPath", "GET /file?path=x&id=9 HTTP/1.1\r\n\r\n", kFile, true, 9, "x"},
        RouteCase{"fileBadId", "GET /file?id=x&path=a HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"fileNoPath", "GET /file?id=7 HTTP/1.1\r\n\r\n", kFile, true, 7, ""},
        RouteCase{"filePathKeyMustBeWhole", "GET /file?xpath=a&path=b HTTP/1.1\r\n\r\n", kFile, false, 0,
                  "b"},
        RouteCase{"filePlusIsSpace", "GET /file?path=a+b HTTP/1.1\r\n\r\n", kFile, false, 0, "a b"},
        RouteCase{"fileWithoutQuery", "GET /file HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"root", "GET / HTTP/1.1\r\n\r\n", kNotFound, false, 0, ""},
        RouteCase{"onlySecondLineHasTarget", "GET\r\n/manifest HTTP/1.1 x\r\n\r\n", kMethod, false, 0, ""}),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

TEST(HttpRouteTest, KeepsTargetAndRawPathForLogs) {
    const HttpRoute route = RouteRequest("GET /file?id=1&path=C%3A%5Cx HTTP/1.1\r\n\r\n");
    EXPECT_EQ(route.target, "/file?id=1&path=C%3A%5Cx");
    EXPECT_EQ(route.rawPath, "C%3A%5Cx");
}

} // namespace
