#include <gtest/gtest.h>

#include <windows.h>
#include <netfw.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "ProgramRun.h"
#include "TestPaths.h"
#include "app/FirewallLog.h"
#include "app/win/FirewallCom.h"

using Microsoft::WRL::ComPtr;

namespace {

const std::wstring kExe = L"C:\\Program Files\\Marlo\\Tessaly.exe";
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

int g_liveObjects = 0;

// IUnknown and IDispatch for the hand-written firewall objects; nothing here is scriptable.
template <class Interface> class FakeDispatch : public Interface {
public:
    FakeDispatch() { ++g_liveObjects; }
    virtual ~FakeDispatch() { --g_liveObjects; }
    FakeDispatch(const FakeDispatch&) = delete;
    FakeDispatch& operator=(const FakeDispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

private:
    ULONG m_refs = 1;
};

HRESULT CopyOut(const std::optional<std::wstring>& text, BSTR* out) {
    if (out == nullptr)
        return E_POINTER;
    *out = text ? SysAllocStringLen(text->data(), static_cast<UINT>(text->size())) : nullptr;
    return S_OK;
}

class FakeRule final : public FakeDispatch<INetFwRule> {
public:
    std::optional<std::wstring> name, description, application, interfaceTypes;
    LONG protocol = 256, profiles = 0x7FFFFFFF;
    NET_FW_RULE_DIRECTION direction = NET_FW_RULE_DIR_IN;
    NET_FW_ACTION action = NET_FW_ACTION_ALLOW;
    VARIANT_BOOL enabled = VARIANT_TRUE;
    bool gettersFail = false;
    std::vector<std::string> puts; // property names in the order they were set

    template <class T> HRESULT Get(const T& value, T* out) {
        if (out == nullptr)
            return E_POINTER;
        if (gettersFail)
            return E_FAIL;
        *out = value;
        return S_OK;
    }
    HRESULT GetText(const std::optional<std::wstring>& value, BSTR* out) {
        return gettersFail ? E_FAIL : CopyOut(value, out);
    }
    HRESULT PutText(const char* what, std::optional<std::wstring>& field, BSTR value) {
        puts.push_back(what);
        field = value ? std::optional<std::wstring>(std::wstring(value, SysStringLen(value))) : std::nullopt;
        return S_OK;
    }
    template <class T> HRESULT Put(const char* what, T& field, T value) {
        puts.push_back(what);
        field = value;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override { return GetText(name, out); }
    HRESULT STDMETHODCALLTYPE put_Name(BSTR v) override { return PutText("Name", name, v); }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* out) override { return GetText(description, out); }
    HRESULT STDMETHODCALLTYPE put_Description(BSTR v) override {
        return PutText("Description", description, v);
    }
    HRESULT STDMETHODCALLTYPE get_ApplicationName(BSTR* out) override { return GetText(application, out); }
    HRESULT STDMETHODCALLTYPE put_ApplicationName(BSTR v) override {
        return PutText("ApplicationName", application, v);
    }
    HRESULT STDMETHODCALLTYPE get_ServiceName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ServiceName(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Protocol(LONG* out) override { return Get(protocol, out); }
    HRESULT STDMETHODCALLTYPE put_Protocol(LONG v) override { return Put("Protocol", protocol, v); }
    HRESULT STDMETHODCALLTYPE get_LocalPorts(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_LocalPorts(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RemotePorts(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_RemotePorts(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LocalAddresses(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_LocalAddresses(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RemoteAddresses(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_RemoteAddresses(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IcmpTypesAndCodes(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_IcmpTypesAndCodes(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Direction(NET_FW_RULE_DIRECTION* out) override {
        return Get(direction, out);
    }
    HRESULT STDMETHODCALLTYPE put_Direction(NET_FW_RULE_DIRECTION v) override {
        return Put("Direction", direction, v);
    }
    HRESULT STDMETHODCALLTYPE get_Interfaces(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Interfaces(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_InterfaceTypes(BSTR* out) override { return GetText(interfaceTypes, out); }
    HRESULT STDMETHODCALLTYPE put_InterfaceTypes(BSTR v) override {
        return PutText("InterfaceTypes", interfaceTypes, v);
    }
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* out) override { return Get(enabled, out); }
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL v) override { return Put("Enabled", enabled, v); }
    HRESULT STDMETHODCALLTYPE get_Grouping(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Grouping(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Profiles(LONG* out) override { return Get(profiles, out); }
    HRESULT STDMETHODCALLTYPE put_Profiles(LONG v) override { return Put("Profiles", profiles, v); }
    HRESULT STDMETHODCALLTYPE get_EdgeTraversal(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_EdgeTraversal(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Action(NET_FW_ACTION* out) override { return Get(action, out); }
    HRESULT STDMETHODCALLTYPE put_Action(NET_FW_ACTION v) override { return Put("Action", action, v); }
};

// Takes over the reference a new object starts with (mingw's ComPtr::Attach adds one of its own).
template <class T> ComPtr<T> Adopt(T* object) {
    ComPtr<T> owner;
    *owner.GetAddressOf() = object;
    return owner;
}

ComPtr<FakeRule> NewRule(const wchar_t* name, NET_FW_RULE_DIRECTION direction, const wchar_t* application) {
    ComPtr<FakeRule> rule = Adopt(new FakeRule);
    rule->name = name;
    rule->direction = direction;
    if (application)
        rule->application = application;
    return rule;
}

// Names are not unique: Item and Remove take the first rule of the name, Add appends.
class FakeRules final : public FakeDispatch<INetFwRules> {
public:
    std::vector<ComPtr<FakeRule>> rules;
    std::vector<std::wstring> removed;

    HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
        *out = static_cast<LONG>(rules.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Add(INetFwRule* rule) override {
        if (rule == nullptr)
            return E_POINTER;
        // The rule objects this test hands out are all FakeRule.
        rules.push_back(static_cast<FakeRule*>(rule));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Remove(BSTR name) override {
        removed.emplace_back(name, SysStringLen(name));
        auto it = First(name);
        if (it == rules.end())
            return kNotFound;
        rules.erase(it);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(BSTR name, INetFwRule** out) override {
        *out = nullptr;
        auto it = First(name);
        if (it == rules.end())
            return kNotFound;
        return (*it)->QueryInterface(IID_PPV_ARGS(out));
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown**) override { return E_NOTIMPL; }

private:
    std::vector<ComPtr<FakeRule>>::iterator First(BSTR name) {
        std::wstring wanted(name, SysStringLen(name));
        return std::find_if(rules.begin(), rules.end(),
                            [&](const ComPtr<FakeRule>& r) { return r->name == wanted; });
    }
};

class FakePolicy final : public FakeDispatch<INetFwPolicy2> {
public:
    ComPtr<FakeRules> rules;

    FakePolicy() : rules(Adopt(new FakeRules)) {}

    HRESULT STDMETHODCALLTYPE get_CurrentProfileTypes(LONG* out) override {
        *out = NET_FW_PROFILE2_PRIVATE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_FirewallEnabled(NET_FW_PROFILE_TYPE2 profile, VARIANT_BOOL* out) override {
        *out = profile == NET_FW_PROFILE2_PUBLIC ? VARIANT_FALSE : VARIANT_TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_FirewallEnabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_ExcludedInterfaces(NET_FW_PROFILE_TYPE2, VARIANT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_ExcludedInterfaces(NET_FW_PROFILE_TYPE2, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BlockAllInboundTraffic(NET_FW_PROFILE_TYPE2, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_BlockAllInboundTraffic(NET_FW_PROFILE_TYPE2, VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_NotificationsDisabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_NotificationsDisabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_UnicastResponsesToMulticastBroadcastDisabled(NET_FW_PROFILE_TYPE2,
                                                                               VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_UnicastResponsesToMulticastBroadcastDisabled(NET_FW_PROFILE_TYPE2,
                                                                               VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Rules(INetFwRules** out) override { return rules.CopyTo(out); }
    HRESULT STDMETHODCALLTYPE get_ServiceRestriction(INetFwServiceRestriction**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnableRuleGroup(LONG, BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRuleGroupEnabled(LONG, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RestoreLocalFirewallDefaults() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DefaultInboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_DefaultInboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_DefaultOutboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_DefaultOutboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_IsRuleGroupCurrentlyEnabled(BSTR, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_LocalPolicyModifyState(NET_FW_MODIFY_STATE*) override { return E_NOTIMPL; }
};

struct CheckRun {
    FirewallCheckResult result;
    std::vector<std::string> lines;
};

CheckRun RunCheck(FakePolicy& policy) {
    CheckRun run;
    FirewallLog log([&](const std::string& line) { run.lines.push_back(line); });
    run.result = CheckFirewallWith(
        &policy, reinterpret_cast<const char16_t*>(kExe.c_str()),
        [](ComPtr<INetFwRule>& rule) {
            *rule.ReleaseAndGetAddressOf() = new FakeRule;
            return S_OK;
        },
        log);
    return run;
}

std::string Dump(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines)
        all += "  " + l + "\n";
    return all;
}

class FirewallCom : public ::testing::Test {
protected:
    void SetUp() override { m_liveBefore = g_liveObjects; }
    void TearDown() override {
        EXPECT_EQ(g_liveObjects, m_liveBefore) << "a firewall object was leaked or released once too often";
    }

private:
    int m_liveBefore = 0;
};

TEST_F(FirewallCom, StaleRuleIsReplacedAndAMatchingRuleLeftAlone) {
    ComPtr<FakePolicy> policy = Adopt(new FakePolicy);
    ComPtr<FakeRule> stale = NewRule(L"Marlo Tessaly Inbound", NET_FW_RULE_DIR_IN, L"D:\\Old\\Tessaly.exe");
    ComPtr<FakeRule> ours =
        NewRule(L"Marlo Tessaly Outbound", NET_FW_RULE_DIR_OUT, L"c:\\program files\\marlo\\TESSALY.exe");
    policy->rules->rules = {stale, ours};

    CheckRun run = RunCheck(*policy.Get());

    EXPECT_TRUE(run.result.inbound) << Dump(run.lines);
    EXPECT_TRUE(run.result.outbound) << Dump(run.lines);
    EXPECT_EQ(policy->rules->removed, std::vector<std::wstring>{L"Marlo Tessaly Inbound"});
    ASSERT_EQ(policy->rules->rules.size(), 2u);
    EXPECT_EQ(policy->rules->rules[0].Get(), ours.Get());
    EXPECT_TRUE(ours->puts.empty());
    const FakeRule& added = *policy->rules->rules[1].Get();
    EXPECT_EQ(added.puts,
              (std::vector<std::string>{"Name", "Description", "ApplicationName", "Protocol", "Direction",
                                        "Profiles", "InterfaceTypes", "Action", "Enabled"}));
    EXPECT_EQ(added.name, L"Marlo Tessaly Inbound");
    EXPECT_EQ(added.description, L"Allow Marlo Tessaly network communication");
    EXPECT_EQ(added.application, kExe);
    EXPECT_EQ(added.protocol, 256);
    EXPECT_EQ(added.direction, NET_FW_RULE_DIR_IN);
    EXPECT_EQ(added.profiles, 0x7FFFFFFF);
    EXPECT_EQ(added.interfaceTypes, L"All");
    EXPECT_EQ(added.action, NET_FW_ACTION_ALLOW);
    EXPECT_EQ(added.enabled, VARIANT_TRUE);
    EXPECT_EQ(run.lines.front(), "[FW] current profiles mask=0x2 domain=0 private=1 public=0");
    EXPECT_EQ(run.lines.back(),
              "[FW] check done inbound=1 outbound=1 exe=C:\\Program Files\\Marlo\\Tessaly.exe");
}

TEST_F(FirewallCom, RulesWithoutProgramOrUnreadableFieldsAreReplaced) {
    ComPtr<FakePolicy> policy = Adopt(new FakePolicy);
    ComPtr<FakeRule> noProgram = NewRule(L"Marlo Tessaly Inbound", NET_FW_RULE_DIR_IN, nullptr);
    ComPtr<FakeRule> unreadable = NewRule(L"Marlo Tessaly Outbound", NET_FW_RULE_DIR_OUT, kExe.c_str());
    unreadable->gettersFail = true;
    policy->rules->rules = {noProgram, unreadable};

    CheckRun run = RunCheck(*policy.Get());

    EXPECT_TRUE(run.result.inbound) << Dump(run.lines);
    EXPECT_TRUE(run.result.outbound) << Dump(run.lines);
    EXPECT_EQ(policy->rules->removed,
              (std::vector<std::wstring>{L"Marlo Tessaly Inbound", L"Marlo Tessaly Outbound"}));
    ASSERT_EQ(policy->rules->rules.size(), 2u);
    for (const ComPtr<FakeRule>& rule : policy->rules->rules) {
        EXPECT_NE(rule.Get(), noProgram.Get());
        EXPECT_NE(rule.Get(), unreadable.Get());
        EXPECT_EQ(rule->application, kExe);
    }
}

TEST_F(FirewallCom, MissingRulesAreAddedAndVerifiedThroughTheCollection) {
    ComPtr<FakePolicy> policy = Adopt(new FakePolicy);

    CheckRun run = RunCheck(*policy.Get());

    EXPECT_TRUE(run.result.inbound);
    EXPECT_TRUE(run.result.outbound);
    ASSERT_EQ(policy->rules->rules.size(), 2u);
    EXPECT_EQ(policy->rules->rules[0]->direction, NET_FW_RULE_DIR_IN);
    EXPECT_EQ(policy->rules->rules[1]->direction, NET_FW_RULE_DIR_OUT);
    EXPECT_NE(std::find(run.lines.begin(), run.lines.end(),
                        "[FW] rule missing name=Marlo Tessaly Inbound direction=Inbound itemHr=0x80070002"),
              run.lines.end())
        << Dump(run.lines);
    EXPECT_NE(std::find(run.lines.begin(), run.lines.end(),
                        "[FW] rule verify name=Marlo Tessaly Outbound ok=1 hr=0x00000000"),
              run.lines.end())
        << Dump(run.lines);
}

// Wine's firewall objects accept new rules but implement neither the profile getters nor the look-up by
// name, so every rule is added and then fails its verify; the check must still reach its end.
TEST(FirewallWorker, RunsToItsEndAgainstTheSystemFirewallObjects) {
    // The runner turns the start-up log category on, so the check's own lines are written.
    ProgramRun runner(L"firewall-check", L"FirewallCheckRunner.exe");
    ASSERT_TRUE(runner.Start(L""));
    DWORD exitCode = runner.WaitExit(60000);
    std::string log = runner.Log();
    EXPECT_EQ(exitCode, 0u) << "the worker did not finish in time\n" << log;
    EXPECT_TRUE(InOrder(log, {"[FW][ASYNC] validation scheduled; network startup is not blocked"}));
    EXPECT_TRUE(
        InOrder(log, {
                         "[FW][ASYNC] worker start",
                         "[FW] check start",
                         "[FW] exe path=",
                         "FirewallCheckRunner.exe\r\n",
                         "[FW] get_CurrentProfileTypes failed hr=0x80004001",
                         "[FW] get_FirewallEnabled(Domain) failed hr=0x80004001",
                         "[FW] get_FirewallEnabled(Private) failed hr=0x80004001",
                         "[FW] get_FirewallEnabled(Public) failed hr=0x80004001",
                         "[FW] rule missing name=Marlo Tessaly Inbound direction=Inbound itemHr=0x80004001",
                         "[FW] rule added name=Marlo Tessaly Inbound direction=Inbound exe=",
                         "[FW] rule verify failed name=Marlo Tessaly Inbound hr=0x80004001",
                         "[FW] rule missing name=Marlo Tessaly Outbound direction=Outbound itemHr=0x80004001",
                         "[FW] rule added name=Marlo Tessaly Outbound direction=Outbound exe=",
                         "[FW] rule verify failed name=Marlo Tessaly Outbound hr=0x80004001",
                         "[FW] check done inbound=0 outbound=0 exe=",
                         "[FW][ASYNC] worker exit",
                     }));
    EXPECT_EQ(log.find("CoInitializeEx failed"), std::string::npos) << log;
}

} // namespace
