#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "service/SessionHost.h"
#include "service/SessionHostPlatform.h"

// A recording fake of the system under the session host: one console session whose shell, lock state and
// user can be changed, a fake clock, the held host and worker as plain records, and the log and the calls in
// one list so tests can check their order.
class FakeSessionSystem final : public SessionHostPlatform {
public:
    uint64_t Now() override { return now; }
    void Log(std::string_view line) override { lines.emplace_back(line); }

    std::optional<uint32_t> ConsoleSession() override { return console; }
    bool ExplorerRunning(uint32_t) override { return explorer; }
    WtsLock QueryWtsLock(uint32_t) override { return wts; }
    bool UserNameEmpty(uint32_t) override { return userNameEmpty; }
    uint32_t ProcessHandleCount() override { return 42; }

    std::optional<StartupPreference> ReadStartupPreference(uint32_t) override {
        ++preferenceReads;
        if (!preferenceReadable)
            return std::nullopt;
        return StartupPreference{startWithWindows,
                                 "HKU\\S-1-5-21-1\\Software\\Marlo\\Settings\\StartWithWindows"};
    }

    std::optional<AdoptedHost> AdoptUserHost(uint32_t) override {
        if (!manualTessaly || now - manualTessaly->startTick < kAdoptMinimumAgeMs)
            return std::nullopt;
        host = HostProcess{manualTessaly->pid, HostMode::User, std::nullopt};
        manualTessaly.reset();
        Call("adopt");
        return AdoptedHost{host->pid};
    }
    std::optional<uint32_t> StartHost(uint32_t, HostMode mode) override {
        Call(std::string("start host ") + HostModeName(mode));
        if (failHostStart)
            return std::nullopt;
        host = HostProcess{nextPid++, mode, std::nullopt};
        return host->pid;
    }
    std::optional<uint32_t> HostExitCode() override { return host ? host->exitCode : std::nullopt; }
    void StopHost(HostMode mode, uint32_t pid, const char* reason) override {
        Call(std::string("stop host ") + HostModeName(mode) + " " + std::to_string(pid) + " " + reason);
        host.reset();
    }
    void ReleaseHost() override {
        Call("release host");
        host.reset();
    }

    std::optional<uint32_t> StartWorker(bool secure) override {
        Call(secure ? "start worker secure" : "start worker default");
        if (failWorkerStart)
            return std::nullopt;
        worker = secure ? 1 : 0;
        return nextPid++;
    }
    void StopWorker() override {
        Call("stop worker");
        worker = -1;
    }

    void ResetUserHostReady() override { ++readyResets; }
    void SetSessionChange() override { sessionChange = true; }
    void ResetSessionChange() override { sessionChange = false; }
    bool PersistExitMarker() override {
        Call("persist marker");
        markerPersisted = true;
        return true;
    }

    // A user host or a prelogin host that ends by itself.
    void HostExits(uint32_t code) { host->exitCode = code; }
    // Tessaly.exe started by hand at the current tick.
    void UserStartsTessaly() { manualTessaly = ManualProcess{nextPid++, now}; }

    bool Logged(std::string_view text) const {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(text) != l.npos; });
    }
    int Count(std::string_view text) const {
        return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                              [&](const std::string& l) { return l.find(text) != l.npos; }));
    }

    struct HostProcess {
        uint32_t pid;
        HostMode mode;
        std::optional<uint32_t> exitCode;
    };
    struct ManualProcess {
        uint32_t pid;
        uint64_t startTick;
    };

    uint64_t now = 100000;
    std::optional<uint32_t> console = 1;
    bool explorer = false;
    WtsLock wts = WtsLock::Unknown;
    bool userNameEmpty = true;
    bool preferenceReadable = true;
    bool startWithWindows = true;
    bool failHostStart = false;
    bool failWorkerStart = false;
    int preferenceReads = 0;
    int readyResets = 0;
    bool sessionChange = false;
    bool markerPersisted = false;
    std::optional<HostProcess> host;
    std::optional<ManualProcess> manualTessaly;
    int32_t worker = -1;
    uint32_t nextPid = 500;
    std::vector<std::string> lines; // log lines and "> call" entries, in order

private:
    void Call(const std::string& what) { lines.push_back("> " + what); }
};

// The service loop over the fake: a pass, then the session-change event or a 2 s time-out, as ServiceLoop
// waits; bounded by the fake clock.
class LoopDriver {
public:
    explicit LoopDriver(FakeSessionSystem& system, bool suppressedAtStart = false)
        : m_system(system), host(system, suppressedAtStart) {
        host.Begin();
    }

    // Runs passes until `ms` of fake time have passed.
    void RunFor(uint64_t ms) {
        uint64_t end = m_system.now + ms;
        for (int passes = 0; m_system.now < end; ++passes) {
            if (passes == 1000) {
                ADD_FAILURE() << "the loop never waits";
                return;
            }
            host.Pass();
            if (m_system.sessionChange) {
                host.OnSessionChangeSignalled();
                continue;
            }
            m_system.now += 2000;
        }
    }

private:
    FakeSessionSystem& m_system;

public:
    SessionHost host;
};
