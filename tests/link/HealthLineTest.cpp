// The Mac peer's health line: its two texts, its 767-byte bound that never cuts a character, and what the
// handler does with a report (status, error text, cache, the unlock repair).
#include <gtest/gtest.h>

#include <string>

#include "SessionControllerTestSupport.h"
#include "link/HealthLine.h"
#include "link/KvmSessionHid.h"
#include "support/Utf8Checks.h"

namespace {

std::string Health(const std::string& fields, const std::string& id = "TSLY-MAC") {
    return "TSLY_REMOTE_HEALTH;id=" + id + ";name=Mac;ver=2.0;" + fields + "end=1;";
}

const char* const kFull =
    "hw=ok;net=up;ip=10.0.0.5;desktop=aqua;display=main;capture=sck;video_state=streaming;"
    "input_state=connected;reason=ok;locked=0;";

TEST(HealthLine, EnglishAndChineseTexts) {
    struct Case {
        const char* name;
        const char* fields;
        bool english;
        const char* line;
    } cases[] = {
        {"english", kFull, true,
         "Remote Mac: hardware=ok | network=up 10.0.0.5 | desktop=aqua | display=main | capture=sck | "
         "video=streaming | input=connected | reason=ok"},
        {"english without ip: no gap", "hw=ok;net=down;desktop=aqua;", true,
         "Remote Mac: hardware=ok | network=down | desktop=aqua | display= | capture= | video= | input= | "
         "reason="},
        {"english locked", "desktop=aqua;locked=1;ip=10.0.0.5;", true,
         "Remote Mac: hardware= | network= 10.0.0.5 | desktop=LoginWindow/locked | display= | capture= | "
         "video= | "
         "input= | reason="},
        {"chinese aqua is the desktop", kFull, false,
         "远端Mac状态：Marlo硬件=ok | 网络=up 10.0.0.5 | 系统=桌面 | 显示源=main | 采集=sck | 视频=streaming "
         "| "
         "输入=connected | 原因=ok"},
        {"chinese locked", "desktop=aqua;locked=1;", false,
         "远端Mac状态：Marlo硬件= | 网络= | 系统=登录界面/锁定 | 显示源= | 采集= | 视频= | 输入= | 原因="},
        {"chinese other desktop kept", "desktop=loginwindow;", false,
         "远端Mac状态：Marlo硬件= | 网络= | 系统=loginwindow | 显示源= | 采集= | 视频= | 输入= | 原因="},
        {"locked only for exactly 1", "desktop=aqua;locked=true;", true,
         "Remote Mac: hardware= | network= | desktop=aqua | display= | capture= | video= | input= | reason="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatHealthLine(ReadMacHealthReport(Health(c.fields)), c.english), c.line);
    }
}

// Fields of every length up to past the bound, in one- to four-byte characters: the line never exceeds
// 767 bytes and never ends inside a character, and it keeps whatever fits.
TEST(HealthLine, LongFieldsAreCutAtACharacterWithinTheBound) {
    for (const char* unit : {"a", "é", "远", "😀"}) {
        for (size_t count = 180; count <= 260; ++count) {
            std::string field;
            for (size_t i = 0; i < count; ++i)
                field += unit;
            for (bool english : {true, false}) {
                SCOPED_TRACE(std::string(unit) + " x" + std::to_string(count) + (english ? " en" : " zh"));
                std::string line = FormatHealthLine(
                    ReadMacHealthReport(Health("hw=" + field + ";net=" + field + ";reason=" + field + ";")),
                    english);
                EXPECT_LE(line.size(), kHealthLineCapacity - 1);
                EXPECT_TRUE(IsCompleteUtf8(line));
                EXPECT_EQ(line.rfind(english ? "Remote Mac: hardware=" : "远端Mac状态：Marlo硬件=", 0), 0u);
                if (line.size() < kHealthLineCapacity - 4) // nothing was cut
                    EXPECT_NE(line.find((english ? "reason=" : "原因=") + field), std::string::npos);
            }
        }
    }
}

class HealthHandling : public SessionControllerFixture {
protected:
    static constexpr const char* kMacIp = "10.0.0.5";
    RuntimeSnapshot Snap() { return RuntimeMakeSnapshot(); }
};

TEST_F(HealthHandling, AnOkReportSetsOnlyTheStatusAnyOtherReasonAlsoTheErrorText) {
    manager.SetActivePeer(kMacIp, "Mac");
    struct Case {
        const char* reason;
        bool error;
    } cases[] = {{"reason=ok;", false}, {"", false}, {"reason=;", false}, {"reason=display asleep;", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        RuntimeSetErrorText("before");
        TestLog().tick += 10;
        handler.HandleControlMessage(kMacIp, Health(std::string("hw=ok;net=up;desktop=aqua;") + c.reason));

        MacHealthEntry cached = state.health.Read();
        EXPECT_EQ(cached.ip, kMacIp);
        EXPECT_EQ(cached.tick, TestLog().tick);
        EXPECT_EQ(cached.line.rfind("Remote Mac: hardware=ok | network=up | desktop=aqua", 0), 0u);
        EXPECT_EQ(Snap().statusMessage, cached.line);
        EXPECT_EQ(Snap().errorText, c.error ? cached.line : "before");
    }
    EXPECT_TRUE(
        HasLine("[REMOTE][HEALTH] peer=10.0.0.5 hw=ok net=up remote_ip= desktop=aqua locked=0 display= "
                "capture= video= input= reason=display asleep"));
}

TEST_F(HealthHandling, OnlyAForeignIdFromTheActivePeerOrAKnownPeerCounts) {
    struct Case {
        const char* name;
        const char* id;
        bool active, inTable;
        bool counted;
    } cases[] = {
        {"active peer", "TSLY-MAC", true, false, true},
        {"peer in the table", "TSLY-MAC", false, true, true},
        {"unknown sender", "TSLY-MAC", false, false, false},
        {"own id", "TSLY-MID", true, false, false},
        {"no id", "", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.health.Clear();
        ConfigService::Instance().SetPeerAddress("");
        manager.ClearActivePeer();
        if (c.active)
            manager.SetActivePeer(kMacIp, "Mac");
        services.peers.clear();
        if (c.inTable)
            services.peers.push_back(Peer("TSLY-MAC", kMacIp, "Mac"));

        handler.HandleControlMessage(kMacIp, Health(kFull, c.id));

        EXPECT_EQ(!state.health.Read().line.empty(), c.counted);
    }
}

// The Mac's desktop is open and its input connected: a lock still held on this controller is undone.
TEST_F(HealthHandling, AnUnlockedAquaReportReleasesAStaleLockOfTheController) {
    BecomeControllerOf(kMacIp);
    state.desktop.Report(true);
    runtime.stateManager.SetRemoteLocked(true, "test");
    ForceHidFallback(runtime.stateManager, services);
    services.ClearCalls();

    handler.HandleControlMessage(kMacIp, Health(kFull));

    EXPECT_FALSE(runtime.stateManager.IsRemoteLocked());
    EXPECT_TRUE(
        runtime.stateLog.Has("[DIAG][LOCK] remoteLocked 1 -> 0 reason=remote health confirms Aqua unlocked "
                             "source=StateManager"));
    EXPECT_FALSE(runtime.stateManager.IsHidForced());
    EXPECT_EQ(runtime.stateManager.GetInputRoute(), int32_t(InputRoute::Tcp));
    EXPECT_EQ(services.Calls(), std::vector<std::string>{"hidCancel fallback-disabled"});
    EXPECT_EQ(state.desktop.Value(), 0);
    EXPECT_TRUE(HasLine("[INPUT][MODE] hid -> network reason=remote_health_aqua_unlocked ip=10.0.0.5"));
}

TEST_F(HealthHandling, TheRepairNeedsEveryConditionOfAnOpenDesktop) {
    struct Case {
        const char* name;
        const char* fields;
    } cases[] = {
        {"locked", "desktop=aqua;locked=1;input_state=connected;"},
        {"login window", "desktop=loginwindow;input_state=connected;"},
        {"input not connected", "desktop=aqua;input_state=hid;"},
    };
    BecomeControllerOf(kMacIp);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runtime.stateManager.SetRemoteLocked(true, "test");
        handler.HandleControlMessage(kMacIp, Health(c.fields));
        EXPECT_TRUE(runtime.stateManager.IsRemoteLocked());
    }
    BecomeControlledBy(kMacIp); // not the controller
    handler.HandleControlMessage(kMacIp, Health(kFull));
    EXPECT_TRUE(runtime.stateManager.IsRemoteLocked());
    EXPECT_FALSE(HasLine("remote_health_aqua_unlocked"));
}

} // namespace
