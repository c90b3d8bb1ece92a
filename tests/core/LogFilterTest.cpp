#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "core/LogFilter.h"

namespace {

using FlagMember = bool DebugFlags::*;

DebugFlags NoFlags() {
    return DebugFlags{};
}

DebugFlags Only(FlagMember member) {
    DebugFlags f;
    f.*member = true;
    return f;
}

DebugFlags AllFlags() {
    return ReadDebugFlags([](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "MARLO_DEBUG_ALL_LOG")
            return "1";
        return std::nullopt;
    });
}

struct Category {
    const char* name;
    const char* variable;
    FlagMember member;
    const char* sampleLine; // dropped while the category is off
};

const Category kCategories[] = {
    {"input", "MARLO_DEBUG_INPUT_LOG", &DebugFlags::input, "[KEY][HOOK] vk=65 down=1"},
    {"hid", "MARLO_DEBUG_HID_LOG", &DebugFlags::hid, "[HIDASYNC][SLOW] ms=40"},
    {"drag", "MARLO_DEBUG_DRAG_LOG", &DebugFlags::drag, "[DRAGMON][TRACE] x=10 y=20"},
    {"resize", "MARLO_DEBUG_RESIZE_LOG", &DebugFlags::resize, "[RESIZE-SM] w=800 h=600"},
    {"ui", "MARLO_DEBUG_UI_LOG", &DebugFlags::ui, "[TRAY][NOTIFY] msg=0x404"},
    {"timeline", "MARLO_DEBUG_TIMELINE_LOG", &DebugFlags::timeline, "[DIAG][TIMELINE] t=17"},
    {"media", "MARLO_DEBUG_MEDIA_LOG", &DebugFlags::media, "[RENDER][PACE] fps=60"},
    {"visibility", "MARLO_DEBUG_VISIBILITY_LOG", &DebugFlags::visibility,
     "[VIDEO][VISIBILITY][SYNCED] visible=1"},
    {"state", "MARLO_DEBUG_STATE_LOG", &DebugFlags::state, "[STATE] mode=idle"},
    {"startup", "MARLO_DEBUG_STARTUP_LOG", &DebugFlags::startup, "[FW] rule add port=5000"},
    {"transfer", "MARLO_DEBUG_TRANSFER_LOG", &DebugFlags::transfer, "[HTTP][SEND] bytes=4096"},
};

TEST(LogFilterTest, EachCategoryBlockIsLiftedByItsOwnFlagOnly) {
    constexpr size_t count = sizeof kCategories / sizeof kCategories[0];
    for (size_t i = 0; i < count; ++i) {
        const Category& c = kCategories[i];
        const Category& other = kCategories[(i + 1) % count];
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ShouldSuppressLine(c.sampleLine, NoFlags()));
        EXPECT_FALSE(ShouldSuppressLine(c.sampleLine, Only(c.member)));
        EXPECT_TRUE(ShouldSuppressLine(c.sampleLine, Only(other.member)));
        EXPECT_FALSE(ShouldSuppressLine(c.sampleLine, AllFlags()));
    }
}

struct SuppressCase {
    const char* line;
    DebugFlags flags;
    bool suppressed;
};

TEST(LogFilterTest, SuppressionTable) {
    const SuppressCase cases[] = {
        // Plain lines are written.
        {"Connected to peer 10.0.0.2", NoFlags(), false},
        {"[STATE]mode=idle", NoFlags(), false}, // the state block needs "[STATE] "

        // Always-written markers beat the category blocks and the always-dropped list.
        {"[KEY][HOOK] [ERR] hook lost", NoFlags(), false},
        {"[FW] rule add [WARN] slow", NoFlags(), false},
        {"[STATE] bind failed", NoFlags(), false},
        {"[RENDER][SCALE] caught exception", NoFlags(), false},
        {"[HTTP][SEND] upload failure", NoFlags(), false},
        {"[STATE] ConnectionState=2", NoFlags(), false},
        {"[STATE] UnifiedKvmState=1", NoFlags(), false},
        {"[HIDASYNC][SLOW] [ERROR] queue", NoFlags(), false},
        {"[TRAY][NOTIFY] [FAIL] x", NoFlags(), false},
        {"[RESIZE-SM] [DONE]", NoFlags(), false},
        {"Lifecycle start module=App start", NoFlags(), false},
        {"[THREAD][STOP] name=CrashHandler tid=7", NoFlags(), false},
        {"App stop Stop wasRunning=0", NoFlags(), false},
        // ...but only as written: "Failed" and "failed" without a blank in front are not among them.
        {"[FW] rule add Failed", NoFlags(), true},
        {"[FW] rule add=failed", NoFlags(), true},
        {"[THREAD][START] name=[error]", NoFlags(), true},

        // Two-part matches of the state block.
        {"[STATE][NET] link up", NoFlags(), true},
        {"[STATE] StateManager init", NoFlags(), false},
        {"[STATE] StateManager shutdown", NoFlags(), false},
        {"[STATE][NET] peerLost=1", NoFlags(), false},
        {"[STATE][NET] peerLost=0", NoFlags(), true},
        {"[STATE] remoteLocked=0", NoFlags(), false},
        {"[CLIP][SERVICE][STOP] running=0 connected=0", NoFlags(), true},
        {"[CLIP][SERVICE][STOP] running=1 connected=0", NoFlags(), false},
        {"[CLIP][SERVICE][STOP] running=0 connected=0", Only(&DebugFlags::state), false},

        // Two-part matches of the start-up block.
        {"[FW] check done rules=3", NoFlags(), false},
        {"[DRAG][UIPI] ok=1", NoFlags(), true},
        {"[DRAG][UIPI] ok=0", NoFlags(), false},
        {"[DRAG][UIPI] ok=1", Only(&DebugFlags::drag), true}, // start-up, not drag
        {"[DRAG][UIPI] ok=1", Only(&DebugFlags::startup), false},
        {"Lifecycle start module=net ok=0", NoFlags(), true},
        {"Lifecycle start module=net ok=0", Only(&DebugFlags::startup), false},
        {"NetService: detach worker thread", NoFlags(), true},
        {"NetService: detach worker thread", Only(&DebugFlags::startup), false},

        // The visibility acknowledgement needs both parts.
        {"[VIDEO][VISIBILITY][TX_ACK] confirmed=1 reason=periodic-resync", NoFlags(), true},
        {"[VIDEO][VISIBILITY][TX_ACK] confirmed=0 reason=periodic-resync", NoFlags(), false},
        {"[VIDEO][VISIBILITY][TX_ACK] confirmed=1 reason=user", NoFlags(), false},
        {"[VIDEO][VISIBILITY][TX_ACK] confirmed=1 reason=periodic-resync", Only(&DebugFlags::visibility),
         false},

        // The media block, not the state one, holds the long-run guard.
        {"LongRunGuard reason=idle", NoFlags(), true},
        {"LongRunGuard reason=idle", Only(&DebugFlags::state), true},
        {"LongRunGuard reason=idle", Only(&DebugFlags::media), false},

        // Remote-drag lines past the category blocks are written, even with always-dropped text.
        {"[RDRAG][SEL] begin", NoFlags(), true},
        {"[RDRAG][SEL] begin", Only(&DebugFlags::drag), false},
        {"[RDRAG][MOUSEUP_CACHE] hit", NoFlags(), true},
        {"[RDRAG][THREAD][START] name=drop", NoFlags(), false},
        {"[RDRAG] Stop wasRunning=0", NoFlags(), false},
        {"[RDRAG][SEL][THREAD][START]", Only(&DebugFlags::drag), false},

        // Always dropped, even with every category on.
        {"Stop wasRunning=0", NoFlags(), true},
        {"DragService Stop wasRunning=0", AllFlags(), true},
        {"[THREAD][START] name=net tid=5", AllFlags(), true},
        {"[THREAD][STOP] name=net tid=5", AllFlags(), true},
        {"CursorPathMonitor path=C:\\Windows\\Cursors\\aero_arrow.cur", AllFlags(), true},
        {"[HTTP][CLIENT] download progress 50%", AllFlags(), true},
        {"[HTTP][CLIENT] header ok", AllFlags(), true},
        {"Input async send ok", AllFlags(), true},
    };
    for (const SuppressCase& c : cases)
        EXPECT_EQ(ShouldSuppressLine(c.line, c.flags), c.suppressed) << c.line;
}

TEST(LogFilterTest, ErrorTextTable) {
    const std::pair<const char*, bool> cases[] = {
        {"[ERR] socket closed", true},
        {"[FAIL] decoder", true},
        {"bind failed code=10048", true},
        {"Renderer init Failed", true},
        {"ProbeFailed", true},
        {"=failed", true},
        {"[DIAG] bind failed", false},
        {"[DIAG][CLIPBOARD] [ERR] open", false},
        {"send failed lastError=10054", false},
        {"[ERR] lastError=5", false},
        {"[ERROR] disk full", false}, // "[ERROR]" does not hold "[ERR]"
        {"[WARN] slow frame", false},
        {"FAILED", false},
        {"upload failure", false},
        {"", false},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(IsErrorTextLine(line), expected) << line;
}

TEST(LogFilterTest, CategoryValueParsing) {
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::nullopt, false},
        {"", false},
        {"1", true},
        {"T", true},
        {"t", true},
        {"Y", true},
        {"y", true},
        {"yes", true},
        {"true", true},
        {"0", false},
        {"o", false},
        {"on", false},
        {"N", false},
        {"f", false},
        {"2", false},
        {" 1", false},
        {"1" + std::string(30, 'x'), true},  // 31 characters
        {"1" + std::string(31, 'x'), false}, // 32 characters
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(DebugValueEnables(value), expected) << (value ? "\"" + *value + "\"" : "unset");
}

TEST(LogFilterTest, DebugOutputSwitchNeedsLeadingOne) {
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::nullopt, false}, {"", false},  {"1", true},  {"1yes", true},  {"0", false},
        {"01", false},         {"y", false}, {"t", false}, {"true", false},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(DebugOutputEnabled(value), expected) << (value ? "\"" + *value + "\"" : "unset");
}

TEST(LogFilterTest, EachVariableSwitchesItsOwnCategory) {
    for (const Category& c : kCategories) {
        SCOPED_TRACE(c.variable);
        DebugFlags f = ReadDebugFlags([&](const char* name) -> std::optional<std::string> {
            if (std::string(name) == c.variable)
                return "yes";
            return std::nullopt;
        });
        EXPECT_FALSE(f.all);
        for (const Category& d : kCategories)
            EXPECT_EQ(f.*d.member, &d == &c) << d.name;
    }
}

TEST(LogFilterTest, AllVariableSwitchesEveryCategory) {
    DebugFlags f = AllFlags();
    EXPECT_TRUE(f.all);
    for (const Category& c : kCategories)
        EXPECT_TRUE(f.*c.member) << c.name;

    // A value that does not switch on leaves everything off.
    std::map<std::string, std::string> env;
    env["MARLO_DEBUG_ALL_LOG"] = "off";
    for (const Category& c : kCategories)
        env[c.variable] = std::string(32, 'y');
    DebugFlags none = ReadDebugFlags([&](const char* name) -> std::optional<std::string> {
        auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    });
    EXPECT_FALSE(none.all);
    for (const Category& c : kCategories)
        EXPECT_FALSE(none.*c.member) << c.name;
}

TEST(LogFilterTest, CategoryByNameFallsBackToAllFlag) {
    DebugFlags mediaOnly = Only(&DebugFlags::media);
    DebugFlags allOnly = Only(&DebugFlags::all);
    for (const Category& c : kCategories) {
        EXPECT_EQ(IsCategoryEnabled(mediaOnly, c.name), c.member == &DebugFlags::media) << c.name;
        EXPECT_TRUE(IsCategoryEnabled(Only(c.member), c.name)) << c.name;
    }
    for (const char* name : {static_cast<const char*>(nullptr), "", "bogus", "Media"}) {
        EXPECT_FALSE(IsCategoryEnabled(mediaOnly, name)) << (name ? name : "null");
        EXPECT_TRUE(IsCategoryEnabled(allOnly, name)) << (name ? name : "null");
    }
}

TEST(LogFilterTest, BlankMessages) {
    for (const char* blank : {"", " ", "\t", "\r\n", " \t\r\n \n"})
        EXPECT_TRUE(IsBlankMessage(blank)) << '"' << blank << '"';
    for (const char* text : {"x", "  .", "\v", "\x01", "\t-\t"})
        EXPECT_FALSE(IsBlankMessage(text)) << '"' << text << '"';
}

} // namespace
