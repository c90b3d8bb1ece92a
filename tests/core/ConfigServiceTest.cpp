#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "SettingsTestSupport.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "support/TestLog.h"

namespace {

// The log is open for these tests and starts empty.
void FreshLog() {
    Log::Open();
    TestLog().Clear();
}

const char* const kStartupNoGuard =
    "[TEXT][CLEARTYPE][STARTUP] no pending restore reason=config load stale-state recovery only";

std::string Describe(const ConfigSnapshot& s) {
    std::string text;
    auto add = [&](const char* name, long long v) {
        text += std::string(name) + "=" + std::to_string(v) + " ";
    };
    add("fps", s.fps), add("bitrate", s.bitrate), add("maxW", s.maxVideoWidth), add("maxH", s.maxVideoHeight);
    add("lowBw", s.lowBandwidthEnable), add("idleFps", s.idleFps), add("keepalive", s.idleKeepaliveMs);
    add("audio", s.audioEnable), add("english", s.uiLanguageEnglish), add("remoteInput", s.remoteInputEnable);
    add("clipboard", s.clipboardEnable), add("rename", s.fileConflictRename), add("text", s.remoteTextMode);
    add("delay", s.longTransferAutoShowDelayMs), add("auto", s.autoConnectEnable);
    add("vscreen", s.virtualScreenMode), add("quality", s.videoQualityMode), add("videoPort", s.videoPort);
    add("inputPort", s.inputPort), add("audioPort", s.audioPort), add("clipPort", s.clipboardPort);
    return text;
}

std::string Describe(const PortSet& p) {
    return std::to_string(p.discoveryPrimary) + "/" + std::to_string(p.discoveryLegacy) + "/" +
           std::to_string(p.control) + "/" + std::to_string(p.video) + "/" + std::to_string(p.input) + "/" +
           std::to_string(p.audio) + "/" + std::to_string(p.clipboard) + "/" + std::to_string(p.http);
}

// The snapshot of the built-in defaults, with the language a load derives on an English system.
ConfigSnapshot DefaultSnapshot() {
    ConfigSnapshot s;
    s.fps = 30, s.bitrate = 25000000, s.maxVideoWidth = 0, s.maxVideoHeight = 0, s.lowBandwidthEnable = 0;
    s.idleFps = 2, s.idleKeepaliveMs = 1000, s.audioEnable = 1, s.uiLanguageEnglish = 1,
    s.remoteInputEnable = 1;
    s.clipboardEnable = 1, s.fileConflictRename = 0, s.remoteTextMode = 0,
    s.longTransferAutoShowDelayMs = 5000;
    s.autoConnectEnable = 0, s.virtualScreenMode = 0, s.videoQualityMode = 0;
    s.videoPort = 6000, s.inputPort = 5000, s.audioPort = 7001, s.clipboardPort = 5002;
    return s;
}

const std::vector<std::string> kLoadReads = {
    "read AudioEnable",      "read UiLanguageEnglish",           "read FileConflictRename",
    "read RemoteTextMode",   "read LongTransferAutoShowDelayMs", "read VirtualScreenMode",
    "read VideoQualityMode", "read AutoConnectPolicyVersion"};

// A service over a fake system; the publisher records each port set and what the service reads back at
// that moment (the record must already be committed, and readable without deadlock).
struct Rig {
    Rig() {
        FreshLog();
        service.Attach(platform, [this](const PortSet& ports) {
            published.push_back(Describe(ports));
            readBack.push_back(Describe(service.GetPortSet()));
            autoConnectWhenPublished.push_back(service.IsAutoConnectEnabled());
        });
    }
    FakeSettingsPlatform platform;
    ConfigService service;
    std::vector<std::string> published;
    std::vector<std::string> readBack;
    std::vector<bool> autoConnectWhenPublished;
};

TEST(ConfigServiceTest, EmptyStoreLoadsDefaultsTurnsAutoConnectOffAndPublishesThePorts) {
    Rig rig;
    rig.platform.chinese = true;
    rig.service.Load();

    ConfigSnapshot expected = DefaultSnapshot();
    expected.uiLanguageEnglish = 0; // Chinese system, nothing stored
    EXPECT_EQ(Describe(rig.service.GetSnapshot()), Describe(expected));
    EXPECT_EQ(rig.service.GetRenderScaleMode(), 2u);
    EXPECT_EQ(rig.service.GetPeerAddress(), "");
    EXPECT_FALSE(rig.service.IsUiLanguageEnglish());

    std::vector<std::string> ops = kLoadReads;
    ops.push_back("write AutoConnectEnable=0");
    ops.push_back("write AutoConnectPolicyVersion=1");
    EXPECT_EQ(rig.platform.settings.ops, ops);
    EXPECT_EQ(rig.platform.settings.values.size(), 2u);

    EXPECT_EQ(rig.published, (std::vector<std::string>{"38999/58999/5003/6000/5000/7001/5002/0"}));
    EXPECT_EQ(rig.readBack, rig.published);
    EXPECT_EQ(
        TestLog().Messages(),
        (std::vector<std::string>{
            "[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=0 present=0 -> policy=1 autoConnect=0 writeAuto=1 "
            "writeMarker=1",
            kStartupNoGuard,
            "[CONFIG][SERVICE] load defaults + HKCU audio=1 english=0 fileConflict=overwrite "
            "remoteTextMode=0 "
            "longTransferAutoShowDelayMs=5000 autoConnect=0 virtualScreenMode=0 videoQuality=H264 "
            "savedLanguage=0 autoConnectMigrated=1 ports video=6000 input=5000 audio=7001 clipboard=5002"}));
}

TEST(ConfigServiceTest, OnlyFourByteDwordsAreTakenFromTheStore) {
    struct Case {
        const char* label;
        std::map<std::string, StoredValue> stored;
        bool chinese;
        std::function<void(ConfigSnapshot&)> expect; // applied to the defaults
    };
    const Case cases[] = {
        {"audio off", {{"AudioEnable", Dword(0)}}, false, [](ConfigSnapshot& s) { s.audioEnable = 0; }},
        {"any non-zero is on",
         {{"VideoQualityMode", Dword(7)}, {"FileConflictRename", Dword(0x100)}},
         false,
         [](ConfigSnapshot& s) { s.videoQualityMode = 1, s.fileConflictRename = 1; }},
        {"4-byte text", {{"AudioEnable", Raw(kRegSz, {'0', 0, 0, 0})}}, false, [](ConfigSnapshot&) {}},
        {"qword", {{"AudioEnable", Raw(kRegQword, {0, 0, 0, 0, 0, 0, 0, 0})}}, false, [](ConfigSnapshot&) {}},
        {"binary", {{"AudioEnable", Raw(kRegBinary, {0, 0, 0, 0})}}, false, [](ConfigSnapshot&) {}},
        {"2-byte dword", {{"AudioEnable", Raw(kRegistryTypeDword, {0, 0})}}, false, [](ConfigSnapshot&) {}},
        {"8-byte dword",
         {{"VirtualScreenMode", Raw(kRegistryTypeDword, {2, 0, 0, 0, 0, 0, 0, 0})}},
         false,
         [](ConfigSnapshot&) {}},
        {"empty dword", {{"AudioEnable", Raw(kRegistryTypeDword, {})}}, false, [](ConfigSnapshot&) {}},
        {"edge and quality",
         {{"VirtualScreenMode", Dword(4)}, {"VideoQualityMode", Dword(1)}},
         false,
         [](ConfigSnapshot& s) { s.virtualScreenMode = 4, s.videoQualityMode = 1; }},
        {"edge out of range", {{"VirtualScreenMode", Dword(0xFFFFFFFF)}}, false, [](ConfigSnapshot&) {}},
        {"transfer delay",
         {{"LongTransferAutoShowDelayMs", Dword(1000)}},
         false,
         [](ConfigSnapshot& s) { s.longTransferAutoShowDelayMs = 1000; }},
        {"transfer delay out of range",
         {{"LongTransferAutoShowDelayMs", Dword(70000)}},
         false,
         [](ConfigSnapshot&) {}},
        {"stored language wins over a Chinese system",
         {{"UiLanguageEnglish", Dword(1)}},
         true,
         [](ConfigSnapshot&) {}},
        {"stored Chinese on an English system",
         {{"UiLanguageEnglish", Dword(0)}},
         false,
         [](ConfigSnapshot& s) { s.uiLanguageEnglish = 0; }},
        {"unusable language is derived",
         {{"UiLanguageEnglish", Raw(kRegSz, {'1', 0})}},
         true,
         [](ConfigSnapshot& s) { s.uiLanguageEnglish = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Rig rig;
        rig.platform.chinese = c.chinese;
        rig.platform.settings.values = c.stored;
        rig.platform.settings.values["AutoConnectPolicyVersion"] = Dword(1);
        rig.service.Load();
        ConfigSnapshot expected = DefaultSnapshot();
        c.expect(expected);
        ConfigSnapshot got = rig.service.GetSnapshot();
        EXPECT_EQ(Describe(got), Describe(expected));
        EXPECT_EQ(RangeViolation(got, rig.service.GetRenderScaleMode()), "");
        // Values that were not used are left as they are in the store.
        for (const auto& [name, value] : c.stored)
            EXPECT_EQ(rig.platform.settings.values[name].bytes, value.bytes) << name;
    }
}

TEST(ConfigServiceTest, SavedLanguageIsReportedInTheLoadLine) {
    Rig rig;
    rig.platform.settings.values = {{"UiLanguageEnglish", Dword(1)}, {"AutoConnectPolicyVersion", Dword(1)}};
    rig.service.Load();
    std::vector<std::string> log = TestLog().Messages();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find(" english=1 "), std::string::npos) << log.back();
    EXPECT_NE(log.back().find(" savedLanguage=1 autoConnectMigrated=0 "), std::string::npos) << log.back();
}

TEST(ConfigServiceTest, AutoConnectFollowsTheStoredValueOnlyUnderTheCurrentPolicy) {
    struct Case {
        const char* label;
        std::optional<StoredValue> policy;
        std::optional<StoredValue> autoConnect;
        bool enabled;
        const char* migrationLine; // null: no migration
    };
    const char* const kAbsent =
        "[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=0 present=0 -> policy=1 autoConnect=0 "
        "writeAuto=1 writeMarker=1";
    const Case cases[] = {
        {"from before the policy", std::nullopt, Dword(1), false, kAbsent},
        {"policy 0 counts as absent", Dword(0), Dword(1), false,
         "[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=0 present=1 -> policy=1 autoConnect=0 writeAuto=1 "
         "writeMarker=1"},
        {"policy as text", Raw(kRegSz, {'1', 0}), Dword(1), false, kAbsent},
        {"2-byte policy", Raw(kRegistryTypeDword, {1, 0}), Dword(1), false, kAbsent},
        {"current policy keeps on", Dword(1), Dword(1), true, nullptr},
        {"later policy keeps on", Dword(5), Dword(3), true, nullptr},
        {"current policy keeps off", Dword(1), Dword(0), false, nullptr},
        {"current policy, unusable value", Dword(1), Raw(kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}), false,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Rig rig;
        if (c.policy)
            rig.platform.settings.values["AutoConnectPolicyVersion"] = *c.policy;
        if (c.autoConnect)
            rig.platform.settings.values["AutoConnectEnable"] = *c.autoConnect;
        rig.service.Load();

        EXPECT_EQ(rig.service.IsAutoConnectEnabled(), c.enabled);
        EXPECT_EQ(rig.service.GetSnapshot().autoConnectEnable, c.enabled ? 1u : 0u);
        std::vector<std::string> log = TestLog().Messages();
        bool logged = false;
        for (const std::string& line : log)
            logged |= line.rfind("[CONFIG][AUTOCONNECT_MIGRATION]", 0) == 0;
        if (c.migrationLine) {
            ASSERT_FALSE(log.empty());
            EXPECT_EQ(log.front(), c.migrationLine);
            EXPECT_EQ(rig.platform.settings.StoredDword("AutoConnectEnable"), 0u);
            EXPECT_EQ(rig.platform.settings.StoredDword("AutoConnectPolicyVersion"), 1u);
        } else {
            EXPECT_FALSE(logged);
            for (const std::string& op : rig.platform.settings.ops)
                EXPECT_NE(op.rfind("write", 0), 0u) << op;
        }
        EXPECT_NE(log.back().find(c.migrationLine ? "autoConnectMigrated=1" : "autoConnectMigrated=0"),
                  std::string::npos);
    }
}

TEST(ConfigServiceTest, StoredRemoteTextModeIsTurnedOffAndRewrittenAfterTheGuardCheck) {
    Rig rig;
    rig.platform.settings.values = {{"RemoteTextMode", Dword(2)}, {"AutoConnectPolicyVersion", Dword(1)}};
    rig.service.Load();
    EXPECT_EQ(rig.service.GetSnapshot().remoteTextMode, 0u);
    EXPECT_EQ(rig.platform.settings.StoredDword("RemoteTextMode"), 0u);
    std::vector<std::string> log = TestLog().Messages();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], kStartupNoGuard);
    EXPECT_EQ(log[1], "[CONFIG][MIGRATE] remoteTextMode=2 -> 0 policy=no Windows ClearType changes");
    EXPECT_NE(log[2].find(" remoteTextMode=0 "), std::string::npos);
    EXPECT_EQ(rig.platform.settings.ops.back(), "write RemoteTextMode=0");
}

TEST(ConfigServiceTest, FailedMigrationWritesAreLoggedAndTheLoadCompletes) {
    struct Case {
        const char* label;
        long failOpen;
        const char* failName;
        std::vector<std::string> lines; // before the start-up guard line
    };
    const Case cases[] = {
        {"key cannot be created",
         5,
         nullptr,
         {"[CONFIG][SERVICE] open HKCU settings failed rc=5",
          "[CONFIG][SERVICE] open HKCU settings failed rc=5",
          "[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=0 present=0 -> policy=1 autoConnect=0 writeAuto=0 "
          "writeMarker=0"}},
        {"marker write fails",
         0,
         "AutoConnectPolicyVersion",
         {"[CONFIG][SERVICE] write setting failed name=AutoConnectPolicyVersion rc=5",
          "[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=0 present=0 -> policy=1 autoConnect=0 writeAuto=1 "
          "writeMarker=0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Rig rig;
        rig.platform.settings.values["AutoConnectEnable"] = Dword(1);
        rig.platform.settings.failOpen = c.failOpen;
        if (c.failName)
            rig.platform.settings.failWrite[c.failName] = 5;
        rig.service.Load();
        std::vector<std::string> log = TestLog().Messages();
        std::vector<std::string> expected = c.lines;
        expected.push_back(kStartupNoGuard);
        ASSERT_EQ(log.size(), expected.size() + 1);
        log.pop_back();
        EXPECT_EQ(log, expected);
        EXPECT_FALSE(rig.service.IsAutoConnectEnabled());
        EXPECT_EQ(rig.published.size(), 1u);
    }
}

TEST(ConfigServiceTest, LoadRestoresAPendingFontSmoothingGuard) {
    Rig rig;
    rig.platform.guardStore.values = {{"Active", Dword(1)}, {"WasEnabled", Dword(1)}, {"OldType", Dword(2)}};
    rig.service.Load();
    EXPECT_EQ(rig.platform.smoothing.calls, (std::vector<std::string>{"enable 1", "type 2"}));
    EXPECT_EQ(rig.platform.guardStore.StoredDword("Active"), 0u);
    std::vector<std::string> log = TestLog().Messages();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "[TEXT][CLEARTYPE][STARTUP_RESTORE] wasEnabled=1 oldType=2 "
                      "reason=config load stale-state recovery only");
    EXPECT_EQ(log[2],
              "[TEXT][CLEARTYPE][RESTORE] ok=1 source=startup reason=config load stale-state recovery only");
}

TEST(ConfigServiceTest, SaveWritesEveryPersistentValueAndALaterLoadReadsThemBack) {
    Rig rig;
    rig.service.Load();
    rig.service.SetAudioEnable(false);
    rig.service.SetUiLanguageEnglish(false);
    rig.service.SetFileConflictRename(true);
    rig.service.SetAutoConnectEnable(true);
    rig.service.SetVirtualScreenMode(3);
    rig.service.SetVideoQualityMode(true);
    rig.platform.settings.ops.clear();
    FreshLog();

    EXPECT_TRUE(rig.service.Save());
    EXPECT_EQ(rig.platform.settings.ops,
              (std::vector<std::string>{"write AudioEnable=0", "write UiLanguageEnglish=0",
                                        "write FileConflictRename=1", "write RemoteTextMode=0",
                                        "write LongTransferAutoShowDelayMs=5000", "write AutoConnectEnable=1",
                                        "write AutoConnectPolicyVersion=1", "write VirtualScreenMode=3",
                                        "write VideoQualityMode=1"}));
    EXPECT_EQ(TestLog().Messages(),
              (std::vector<std::string>{
                  "[CONFIG][SERVICE] save audio=0 english=0 fileConflict=rename remoteTextMode=0 "
                  "longTransferAutoShowDelayMs=5000 autoConnect=1 virtualScreenMode=3 "
                  "videoQuality=ULTRA ok=1"}));

    FakeSettingsPlatform next;
    next.settings.values = rig.platform.settings.values;
    ConfigService reloaded;
    reloaded.Attach(next, nullptr);
    reloaded.Load();
    EXPECT_EQ(Describe(reloaded.GetSnapshot()), Describe(rig.service.GetSnapshot()));
    EXPECT_TRUE(reloaded.IsAutoConnectEnabled());
}

TEST(ConfigServiceTest, SaveTriesEveryWriteAndFailsWhenAnyFailed) {
    struct Case {
        const char* label;
        long failOpen;
        const char* failName;
        size_t failureLines;
        const char* failureLine;
    };
    const Case cases[] = {
        {"one value", 0, "UiLanguageEnglish", 1,
         "[CONFIG][SERVICE] write setting failed name=UiLanguageEnglish rc=5"},
        {"the key", 5, nullptr, 9, "[CONFIG][SERVICE] open HKCU settings failed rc=5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Rig rig;
        rig.service.Load();
        rig.service.SetVideoQualityMode(true);
        rig.platform.settings.ops.clear();
        rig.platform.settings.failOpen = c.failOpen;
        if (c.failName)
            rig.platform.settings.failWrite[c.failName] = 5;
        FreshLog();

        EXPECT_FALSE(rig.service.Save());
        EXPECT_EQ(rig.platform.settings.ops.size(), 9u);
        std::vector<std::string> log = TestLog().Messages();
        ASSERT_EQ(log.size(), c.failureLines + 1);
        for (size_t i = 0; i < c.failureLines; ++i)
            EXPECT_EQ(log[i], c.failureLine);
        EXPECT_NE(log.back().find(" videoQuality=ULTRA ok=0"), std::string::npos) << log.back();
        if (c.failOpen == 0)
            EXPECT_EQ(rig.platform.settings.StoredDword("VideoQualityMode"), 1u); // written after the failure
    }
}

TEST(ConfigServiceTest, ResetDeletesTheStoredValuesGoesBackToDefaultsAndKeepsThePeer) {
    Rig rig;
    rig.platform.settings.values = {{"AudioEnable", Dword(0)},
                                    {"UiLanguageEnglish", Dword(1)},
                                    {"VirtualScreenMode", Dword(2)},
                                    {"VideoQualityMode", Dword(1)},
                                    {"AutoConnectPolicyVersion", Dword(1)},
                                    {"AutoConnectEnable", Dword(1)}};
    rig.platform.chinese = true;
    rig.service.Load();
    rig.service.SetPeerAddress("192.168.50.2");
    rig.service.SetFileConflictRename(true);
    rig.platform.settings.ops.clear();
    FreshLog();

    EXPECT_TRUE(rig.service.ResetDefaults()); // missing values count as deleted
    EXPECT_EQ(rig.platform.settings.ops,
              (std::vector<std::string>{"delete AudioEnable", "delete UiLanguageEnglish",
                                        "delete FileConflictRename", "delete RemoteTextMode",
                                        "delete LongTransferAutoShowDelayMs", "write AutoConnectEnable=0",
                                        "write AutoConnectPolicyVersion=1", "delete VirtualScreenMode",
                                        "delete VideoQualityMode"}));
    EXPECT_EQ(rig.platform.settings.values.size(), 2u);
    ConfigSnapshot expected = DefaultSnapshot();
    expected.uiLanguageEnglish = 0; // from the Chinese system again, not the deleted stored value
    EXPECT_EQ(Describe(rig.service.GetSnapshot()), Describe(expected));
    EXPECT_EQ(rig.service.GetPeerAddress(), "192.168.50.2");
    EXPECT_EQ(rig.published.size(), 2u);
    EXPECT_EQ(rig.readBack, rig.published);
    EXPECT_EQ(TestLog().Messages(),
              (std::vector<std::string>{
                  "[CONFIG][SERVICE] reset defaults ok=1 audio=1 english=0 fileConflict=overwrite "
                  "remoteTextMode=0 longTransferAutoShowDelayMs=5000 autoConnect=0 "
                  "virtualScreenMode=0 videoQuality=H264"}));
}

TEST(ConfigServiceTest, ResetCountsAMissingKeyAsDeletedAndReportsRealFailures) {
    const std::string deleteOpen = "[CONFIG][SERVICE] open HKCU settings for delete failed rc=5";
    const std::string writeOpen = "[CONFIG][SERVICE] open HKCU settings failed rc=5";
    struct Case {
        const char* label;
        std::function<void(FakeSettingsStore&)> setup;
        std::vector<std::string> failures; // every failure line, in order
    };
    const Case cases[] = {
        {"no key, then no values", [](FakeSettingsStore& s) { s.keyExists = false; }, {}},
        {"one delete fails",
         [](FakeSettingsStore& s) { s.failDelete["FileConflictRename"] = 5; },
         {"[CONFIG][SERVICE] delete setting failed name=FileConflictRename rc=5"}},
        {"key cannot be opened",
         [](FakeSettingsStore& s) { s.failOpen = 5; },
         {deleteOpen, deleteOpen, deleteOpen, deleteOpen, deleteOpen, writeOpen, writeOpen, deleteOpen,
          deleteOpen}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Rig rig;
        c.setup(rig.platform.settings);
        EXPECT_EQ(rig.service.ResetDefaults(), c.failures.empty());
        EXPECT_EQ(rig.platform.settings.ops.size(), 9u); // nothing stops the later operations
        std::vector<std::string> log = TestLog().Messages();
        ASSERT_EQ(log.size(), c.failures.size() + 1);
        EXPECT_EQ(std::vector<std::string>(log.begin(), log.end() - 1), c.failures);
        EXPECT_EQ(log.back().rfind(c.failures.empty() ? "[CONFIG][SERVICE] reset defaults ok=1 "
                                                      : "[CONFIG][SERVICE] reset defaults ok=0 ",
                                   0),
                  0u)
            << log.back();
    }
}

TEST(ConfigServiceTest, SettersStoreOneFieldAndRefuseAnUnknownEdge) {
    Rig rig;
    rig.service.Load();
    rig.service.SetVirtualScreenMode(4);
    FreshLog();
    rig.service.SetVirtualScreenMode(5);
    EXPECT_EQ(rig.service.GetSnapshot().virtualScreenMode, 4u);
    EXPECT_EQ(TestLog().Messages(),
              (std::vector<std::string>{"[CONFIG][SERVICE] virtualScreenMode=5 refused, valid 0..4"}));

    rig.service.SetUiLanguageEnglish(false);
    EXPECT_FALSE(rig.service.IsUiLanguageEnglish());
    rig.service.SetPeerAddress("10.0.0.7");
    EXPECT_EQ(rig.service.GetPeerAddress(), "10.0.0.7");
    rig.service.SetAutoConnectEnable(true);
    EXPECT_TRUE(rig.service.IsAutoConnectEnabled());
}

TEST(ConfigServiceTest, WithoutASystemAttachedNothingIsStoredAndDefaultsStay) {
    FreshLog();
    ConfigService service;
    service.Load();
    EXPECT_FALSE(service.Save());
    EXPECT_FALSE(service.ResetDefaults());
    EXPECT_EQ(
        TestLog().Messages(),
        (std::vector<std::string>{"[CONFIG][SERVICE] load failed: no settings platform attached",
                                  "[CONFIG][SERVICE] save failed: no settings platform attached",
                                  "[CONFIG][SERVICE] reset defaults failed: no settings platform attached"}));
    ConfigSnapshot expected = DefaultSnapshot();
    expected.uiLanguageEnglish = 0; // not derived yet
    EXPECT_EQ(Describe(service.GetSnapshot()), Describe(expected));
}

TEST(ConfigServiceTest, ReadersSettersAndStoreOperationsRunConcurrently) {
    Rig rig;
    rig.service.Load();
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < 200; ++i) {
            rig.service.SetVirtualScreenMode(static_cast<uint32_t>(i % 5));
            rig.service.SetPeerAddress("10.0.0." + std::to_string(i));
            rig.service.SetAudioEnable(i % 2 == 0);
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < 20; ++i) {
            rig.service.Save();
            rig.service.ResetDefaults();
        }
    });
    threads.emplace_back([&] {
        while (!stop.load()) {
            ConfigSnapshot s = rig.service.GetSnapshot();
            EXPECT_EQ(RangeViolation(s, rig.service.GetRenderScaleMode()), "");
            rig.service.GetPeerAddress();
        }
    });
    threads[0].join();
    threads[1].join();
    stop = true;
    threads[2].join();
    EXPECT_EQ(rig.published.size(), 21u);
}

} // namespace
