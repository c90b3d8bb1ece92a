#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/FirewallCheck.h"
#include "app/FirewallRules.h"

namespace {

constexpr int32_t kNotFound = static_cast<int32_t>(0x80070002);
constexpr int32_t kNotImpl = static_cast<int32_t>(0x80004001);
constexpr int32_t kAccessDenied = static_cast<int32_t>(0x80070005);
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);

const std::u16string kExe = u"C:\\Program Files\\Marlo\\Tessaly.exe";
const std::string kExeUtf8 = "C:\\Program Files\\Marlo\\Tessaly.exe";
const std::u16string kInbound(kFirewallInboundRuleName);
const std::u16string kOutbound(kFirewallOutboundRuleName);

FirewallRuleFields Matching(FirewallDirection direction, std::u16string app = kExe) {
    FirewallRuleFields rule;
    rule.applicationName = std::move(app);
    rule.direction = static_cast<int32_t>(direction);
    rule.action = kFirewallActionAllow;
    rule.enabled = true;
    rule.profiles = kFirewallProfilesAll;
    rule.protocol = kFirewallProtocolAny;
    return rule;
}

struct StoredRule {
    std::u16string name;
    FirewallRuleFields fields;
    std::u16string description;
    std::u16string interfaceTypes;
};

// A rule collection like the firewall's: names are not unique, a look-up and a removal take the first rule
// of the name, an added rule goes to the end.
class FakeRules final : public IFirewallRules {
public:
    FirewallLookupResult Find(std::u16string_view name) override {
        calls.push_back("Find");
        if (FailAllocation())
            return {0, true, {}};
        if (findHr)
            return {*findHr, false, {}};
        auto it = First(name);
        if (it == rules.end())
            return {kNotFound, false, {}};
        return {0, false, it->fields};
    }
    FirewallCallResult Remove(std::u16string_view name) override {
        calls.push_back("Remove");
        if (FailAllocation())
            return {0, true};
        if (removeHr)
            return {*removeHr, false};
        auto it = First(name);
        if (it == rules.end())
            return {kNotFound, false};
        rules.erase(it);
        return {0, false};
    }
    FirewallCallResult Add(const FirewallRuleSpec& wanted) override {
        calls.push_back("Add");
        if (FailAllocation())
            return {0, true};
        if (addHr)
            return {*addHr, false};
        StoredRule stored;
        stored.name = wanted.name;
        stored.fields.applicationName = std::u16string(wanted.applicationName);
        stored.fields.direction = wanted.direction;
        stored.fields.action = wanted.action;
        stored.fields.enabled = wanted.enabled;
        stored.fields.profiles = wanted.profiles;
        stored.fields.protocol = wanted.protocol;
        stored.description = wanted.description;
        stored.interfaceTypes = wanted.interfaceTypes;
        rules.push_back(stored);
        return {0, false};
    }

    std::vector<StoredRule> rules;
    std::vector<std::string> calls;
    std::optional<int32_t> findHr, removeHr, addHr;
    int failAllocationAtCall = 0; // 1-based call number whose texts cannot be allocated; 0 never

private:
    bool FailAllocation() { return static_cast<int>(calls.size()) == failAllocationAtCall; }
    std::vector<StoredRule>::iterator First(std::u16string_view name) {
        return std::find_if(rules.begin(), rules.end(), [&](const StoredRule& r) { return r.name == name; });
    }
};

struct Captured {
    std::vector<std::string> lines;
    FirewallLog log{[this](const std::string& line) { lines.push_back(line); }};
};

std::string Dump(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines)
        all += "  " + l + "\n";
    return all;
}

// --- the match predicate ---

struct MatchCase {
    const char* what;
    FirewallRuleFields rule;
    bool matches;
};

std::vector<MatchCase> MatchCases() {
    auto with = [](auto change) {
        FirewallRuleFields r = Matching(FirewallDirection::Inbound);
        change(r);
        return r;
    };
    return {
        {"the rule this program adds", Matching(FirewallDirection::Inbound), true},
        {"path differing in ASCII case",
         Matching(FirewallDirection::Inbound, u"c:\\PROGRAM FILES\\marlo\\TESSALY.EXE"), true},
        {"one profile only", with([](auto& r) { r.profiles = 4; }), true},
        {"outbound rule for an inbound check", with([](auto& r) { r.direction = 2; }), false},
        {"block rule", with([](auto& r) { r.action = kFirewallActionBlock; }), false},
        {"disabled", with([](auto& r) { r.enabled = false; }), false},
        {"no profile", with([](auto& r) { r.profiles = 0; }), false},
        {"only a bit outside all profiles",
         with([](auto& r) { r.profiles = static_cast<int32_t>(0x80000000); }), false},
        {"TCP only", with([](auto& r) { r.protocol = 6; }), false},
        {"no application name", with([](auto& r) { r.applicationName.reset(); }), false},
        {"empty application name", with([](auto& r) { r.applicationName = u""; }), false},
        {"another executable", with([](auto& r) { r.applicationName = u"C:\\Old\\Tessaly.exe"; }), false},
        {"our path as a prefix", with([](auto& r) { *r.applicationName += u".bak"; }), false},
    };
}

TEST(FirewallRuleMatch, TableOfExistingRules) {
    for (const MatchCase& c : MatchCases())
        EXPECT_EQ(FirewallRuleMatches(c.rule, FirewallDirection::Inbound, kExe), c.matches) << c.what;
}

TEST(FirewallRuleMatch, PathCaseIsFoldedBeyondAscii) {
    const std::u16string exe = u"C:\\Users\\\u00C9lodie\\\u041F\u0440\u043E\u0433\\\u0391\u03B2\\Tessaly.exe";
    const std::u16string folded =
        u"c:\\users\\\u00E9LODIE\\\u043F\u0420\u041E\u0413\\\u03B1\u0392\\tessaly.EXE";
    EXPECT_TRUE(
        FirewallRuleMatches(Matching(FirewallDirection::Outbound, folded), FirewallDirection::Outbound, exe));
    // Multiplication sign and division sign are not a case pair.
    EXPECT_FALSE(FirewallRuleMatches(Matching(FirewallDirection::Outbound, u"C:\\\u00D7.exe"),
                                     FirewallDirection::Outbound, u"C:\\\u00F7.exe"));
}

// --- ensuring one rule ---

TEST(FirewallEnsureRule, MissingRuleIsAddedWithTheTableValuesAndVerified) {
    FakeRules store;
    Captured out;
    EXPECT_TRUE(EnsureFirewallRule(store, kOutbound, FirewallDirection::Outbound, kExe, out.log));

    ASSERT_EQ(store.rules.size(), 1u);
    const StoredRule& added = store.rules[0];
    EXPECT_EQ(added.name, kOutbound);
    EXPECT_EQ(added.description, u"Allow Marlo Tessaly network communication");
    EXPECT_EQ(added.fields.applicationName, kExe);
    EXPECT_EQ(added.fields.protocol, 256);
    EXPECT_EQ(added.fields.direction, 2);
    EXPECT_EQ(added.fields.profiles, 0x7FFFFFFF);
    EXPECT_EQ(added.interfaceTypes, u"All");
    EXPECT_EQ(added.fields.action, 1);
    EXPECT_TRUE(added.fields.enabled);
    EXPECT_EQ(out.lines,
              (std::vector<std::string>{
                  "[FW] rule missing name=Marlo Tessaly Outbound direction=Outbound itemHr=0x80070002",
                  "[FW] rule added name=Marlo Tessaly Outbound direction=Outbound exe=" + kExeUtf8,
                  "[FW] rule verify name=Marlo Tessaly Outbound ok=1 hr=0x00000000",
              }));
}

struct EnsureCase {
    const char* what;
    std::vector<StoredRule> existing;
    std::optional<int32_t> findHr, removeHr, addHr;
    int failAllocationAtCall;
    bool result;
    std::vector<std::string> calls;
    std::vector<std::string> lines;
    size_t rulesOfOursAfter; // matching rules of the name at the end
};

const std::string kIn = "name=Marlo Tessaly Inbound";

std::vector<EnsureCase> EnsureCases() {
    FirewallRuleFields ours = Matching(FirewallDirection::Inbound, u"c:\\program files\\marlo\\tessaly.exe");
    FirewallRuleFields otherExe = Matching(FirewallDirection::Inbound, u"D:\\Old\\Tessaly.exe");
    FirewallRuleFields noApp = Matching(FirewallDirection::Inbound);
    noApp.applicationName.reset();
    FirewallRuleFields block = Matching(FirewallDirection::Inbound);
    block.action = kFirewallActionBlock;
    const std::string added = "[FW] rule added " + kIn + " direction=Inbound exe=" + kExeUtf8;
    const std::string verified = "[FW] rule verify " + kIn + " ok=1 hr=0x00000000";
    const std::string staleRemoved = "[FW] stale rule removed " + kIn + " direction=Inbound hr=0x00000000";
    return {
        {"a matching rule is left alone",
         {{kInbound, ours, {}, {}}},
         {},
         {},
         {},
         0,
         true,
         {"Find"},
         {"[FW] rule OK " + kIn + " direction=Inbound exe=" + kExeUtf8},
         1},
        {"a rule for another executable is removed and created again",
         {{kInbound, otherExe, {}, {}}},
         {},
         {},
         {},
         0,
         true,
         {"Find", "Remove", "Add", "Find"},
         {staleRemoved, added, verified},
         1},
        {"a rule without an application name is stale",
         {{kInbound, noApp, {}, {}}},
         {},
         {},
         {},
         0,
         true,
         {"Find", "Remove", "Add", "Find"},
         {staleRemoved, added, verified},
         1},
        {"of two stale rules of the name one is removed; the verify finds the other",
         {{kInbound, block, {}, {}}, {kInbound, otherExe, {}, {}}},
         {},
         {},
         {},
         0,
         false,
         {"Find", "Remove", "Add", "Find"},
         {staleRemoved, added, "[FW] rule verify " + kIn + " ok=0 hr=0x00000000"},
         1},
        {"a failed removal is logged with its result and the rule is still added",
         {{kInbound, otherExe, {}, {}}},
         {},
         kAccessDenied,
         {},
         0,
         false,
         {"Find", "Remove", "Add", "Find"},
         {"[FW] stale rule removed " + kIn + " direction=Inbound hr=0x80070005", added,
          "[FW] rule verify " + kIn + " ok=0 hr=0x00000000"},
         1},
        {"a failed add fails the rule without a verify",
         {},
         {},
         {},
         kAccessDenied,
         0,
         false,
         {"Find", "Add"},
         {"[FW] rule missing " + kIn + " direction=Inbound itemHr=0x80070002",
          "[FW] rule add failed " + kIn + " direction=Inbound hr=0x80070005 exe=" + kExeUtf8},
         0},
        {"look-ups that are not implemented fail the verify",
         {},
         kNotImpl,
         {},
         {},
         0,
         false,
         {"Find", "Add", "Find"},
         {"[FW] rule missing " + kIn + " direction=Inbound itemHr=0x80004001", added,
          "[FW] rule verify failed " + kIn + " hr=0x80004001"},
         1},
        {"no text for the look-up",
         {},
         {},
         {},
         {},
         1,
         false,
         {"Find"},
         {"[FW] SysAllocString failed rule=Marlo Tessaly Inbound"},
         0},
        {"no text for the removal",
         {{kInbound, otherExe, {}, {}}},
         {},
         {},
         {},
         2,
         false,
         {"Find", "Remove"},
         {"[FW] SysAllocString failed rule=Marlo Tessaly Inbound"},
         0},
        {"no text for the new rule",
         {},
         {},
         {},
         {},
         2,
         false,
         {"Find", "Add"},
         {"[FW] rule missing " + kIn + " direction=Inbound itemHr=0x80070002",
          "[FW] SysAllocString failed rule=Marlo Tessaly Inbound"},
         0},
        {"no text for the verify",
         {},
         {},
         {},
         {},
         3,
         false,
         {"Find", "Add", "Find"},
         {"[FW] rule missing " + kIn + " direction=Inbound itemHr=0x80070002", added,
          "[FW] SysAllocString failed rule=Marlo Tessaly Inbound"},
         1},
    };
}

TEST(FirewallEnsureRule, TableOfExistingRulesAndFailures) {
    for (const EnsureCase& c : EnsureCases()) {
        SCOPED_TRACE(c.what);
        FakeRules store;
        store.rules = c.existing;
        store.findHr = c.findHr;
        store.removeHr = c.removeHr;
        store.addHr = c.addHr;
        store.failAllocationAtCall = c.failAllocationAtCall;
        Captured out;
        EXPECT_EQ(EnsureFirewallRule(store, kInbound, FirewallDirection::Inbound, kExe, out.log), c.result);
        EXPECT_EQ(store.calls, c.calls);
        EXPECT_EQ(out.lines, c.lines) << Dump(out.lines);
        size_t ours = std::count_if(store.rules.begin(), store.rules.end(), [](const StoredRule& r) {
            return r.name == kInbound && FirewallRuleMatches(r.fields, FirewallDirection::Inbound, kExe);
        });
        EXPECT_EQ(ours, c.rulesOfOursAfter);
    }
}

TEST(FirewallEnsureRule, RulesOfOtherNamesAreNeverTouched) {
    FakeRules store;
    FirewallRuleFields foreign = Matching(FirewallDirection::Inbound, u"C:\\Other\\app.exe");
    store.rules = {{u"Some Other Rule", foreign, u"kept", u"LAN"}};
    Captured out;
    EXPECT_TRUE(EnsureFirewallRule(store, kInbound, FirewallDirection::Inbound, kExe, out.log));
    ASSERT_EQ(store.rules.size(), 2u);
    EXPECT_EQ(store.rules[0].name, u"Some Other Rule");
    EXPECT_EQ(store.rules[0].fields.applicationName, u"C:\\Other\\app.exe");
}

// --- the whole check over a policy ---

class FakePolicy final : public IFirewallPolicy {
public:
    FirewallValue CurrentProfileTypes() override { return profileTypes; }
    FirewallValue FirewallEnabled(int32_t profile) override {
        askedProfiles.push_back(profile);
        return enabled(profile);
    }
    std::unique_ptr<IFirewallRules> Rules(int32_t& hr) override {
        hr = rulesHr;
        if (hr < 0)
            return nullptr;
        // Hands out a view of the shared store so the test can look at it afterwards.
        struct View final : IFirewallRules {
            explicit View(FakeRules& s) : store(s) {}
            FirewallLookupResult Find(std::u16string_view n) override { return store.Find(n); }
            FirewallCallResult Remove(std::u16string_view n) override { return store.Remove(n); }
            FirewallCallResult Add(const FirewallRuleSpec& r) override { return store.Add(r); }
            FakeRules& store;
        };
        return std::make_unique<View>(store);
    }

    FirewallValue profileTypes{0, 0};
    std::function<FirewallValue(int32_t)> enabled = [](int32_t) { return FirewallValue{0, 1}; };
    int32_t rulesHr = 0;
    FakeRules store;
    std::vector<int32_t> askedProfiles;
};

TEST(FirewallCheck, LogsProfilesThenEnsuresInboundBeforeOutbound) {
    FakePolicy policy;
    policy.profileTypes = {0, 5};
    policy.enabled = [](int32_t profile) {
        return profile == 2 ? FirewallValue{kAccessDenied, 0} : FirewallValue{0, profile == 1 ? 1 : 0};
    };
    policy.store.rules = {{kInbound, Matching(FirewallDirection::Inbound), {}, {}}};
    Captured out;
    FirewallCheckResult result = CheckFirewallPolicy(policy, kExe, out.log);

    EXPECT_TRUE(result.rulesChecked);
    EXPECT_TRUE(result.inbound);
    EXPECT_TRUE(result.outbound);
    EXPECT_EQ(policy.askedProfiles, (std::vector<int32_t>{1, 2, 4}));
    EXPECT_EQ(out.lines,
              (std::vector<std::string>{
                  "[FW] current profiles mask=0x5 domain=1 private=0 public=1",
                  "[FW] profile Domain enabled=1",
                  "[FW] get_FirewallEnabled(Private) failed hr=0x80070005",
                  "[FW] profile Public enabled=0",
                  "[FW] rule OK name=Marlo Tessaly Inbound direction=Inbound exe=" + kExeUtf8,
                  "[FW] rule missing name=Marlo Tessaly Outbound direction=Outbound itemHr=0x80070002",
                  "[FW] rule added name=Marlo Tessaly Outbound direction=Outbound exe=" + kExeUtf8,
                  "[FW] rule verify name=Marlo Tessaly Outbound ok=1 hr=0x00000000",
                  "[FW] check done inbound=1 outbound=1 exe=" + kExeUtf8,
              }))
        << Dump(out.lines);
}

// What the stub firewall objects of a compatibility layer give: no profile state and no look-up by name,
// but a rule collection that accepts additions.
TEST(FirewallCheck, StubPolicyRunsToItsEndWithBothRulesUnverified) {
    FakePolicy policy;
    policy.profileTypes = {kNotImpl, 0};
    policy.enabled = [](int32_t) { return FirewallValue{kNotImpl, 0}; };
    policy.store.findHr = kNotImpl;
    Captured out;
    FirewallCheckResult result = CheckFirewallPolicy(policy, kExe, out.log);

    EXPECT_FALSE(result.inbound);
    EXPECT_FALSE(result.outbound);
    EXPECT_EQ(policy.store.rules.size(), 2u);
    EXPECT_EQ(out.lines,
              (std::vector<std::string>{
                  "[FW] get_CurrentProfileTypes failed hr=0x80004001",
                  "[FW] get_FirewallEnabled(Domain) failed hr=0x80004001",
                  "[FW] get_FirewallEnabled(Private) failed hr=0x80004001",
                  "[FW] get_FirewallEnabled(Public) failed hr=0x80004001",
                  "[FW] rule missing name=Marlo Tessaly Inbound direction=Inbound itemHr=0x80004001",
                  "[FW] rule added name=Marlo Tessaly Inbound direction=Inbound exe=" + kExeUtf8,
                  "[FW] rule verify failed name=Marlo Tessaly Inbound hr=0x80004001",
                  "[FW] rule missing name=Marlo Tessaly Outbound direction=Outbound itemHr=0x80004001",
                  "[FW] rule added name=Marlo Tessaly Outbound direction=Outbound exe=" + kExeUtf8,
                  "[FW] rule verify failed name=Marlo Tessaly Outbound hr=0x80004001",
                  "[FW] check done inbound=0 outbound=0 exe=" + kExeUtf8,
              }))
        << Dump(out.lines);
}

TEST(FirewallCheck, WithoutTheRuleCollectionItStopsAfterTheProfiles) {
    FakePolicy policy;
    policy.rulesHr = kFail;
    Captured out;
    FirewallCheckResult result = CheckFirewallPolicy(policy, kExe, out.log);
    EXPECT_FALSE(result.rulesChecked);
    EXPECT_TRUE(policy.store.calls.empty());
    ASSERT_FALSE(out.lines.empty());
    EXPECT_EQ(out.lines.back(), "[FW] get_Rules failed hr=0x80004005");
    EXPECT_EQ(std::count_if(out.lines.begin(), out.lines.end(),
                            [](const std::string& l) { return l.rfind("[FW] check done", 0) == 0; }),
              0);
}

// --- scheduling the worker ---

struct ScheduleCase {
    const char* what;
    bool alreadyRunning;
    uint32_t startError;
    bool started;
    bool runningAfter;
    int startCalls;
    std::string line;
};

TEST(FirewallSchedule, StartsOneWorkerAtATime) {
    const ScheduleCase cases[] = {
        {"idle", false, 0, true, true, 1, "[FW][ASYNC] validation scheduled; network startup is not blocked"},
        {"a check still runs", true, 0, false, true, 0, "[FW][ASYNC] check already running"},
        {"thread creation fails", false, 8, false, false, 1,
         "[FW][ASYNC] CreateThread failed gle=8; network startup continues"},
    };
    for (const ScheduleCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::atomic<bool> running{c.alreadyRunning};
        int startCalls = 0;
        bool runningDuringStart = false;
        Captured out;
        bool started = ScheduleFirewallWorker(
            running,
            [&] {
                ++startCalls;
                runningDuringStart = running.load();
                return c.startError;
            },
            out.log);
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(running.load(), c.runningAfter);
        EXPECT_EQ(startCalls, c.startCalls);
        if (startCalls > 0)
            EXPECT_TRUE(runningDuringStart) << "the flag must be claimed before the worker can run";
        EXPECT_EQ(out.lines, std::vector<std::string>{c.line});
    }
}

} // namespace
