#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/Utf.h"
#include "link/DiscoveryRun.h"
#include "link/VideoSyncPort.h"
#include "link/VideoSyncState.h"
#include "support/TestLog.h"

// The sync's port for scripted scenarios: a clock that moves only when a worker waits or sleeps (and drives
// the test log's tick), a controller session towards 10.0.0.2 whose peer record offers ULTRA, settings in
// memory, and senders whose replies the test scripts. Every call it sees is noted with its time.
class ScriptedSyncPort final : public VideoSyncPort {
public:
    struct Sent {
        uint32_t at;
        std::string what; // "visibility", "quality" or "request"
        bool flag;        // hidden / ultra
        uint32_t seq;
        std::string detail; // the visibility reason or the quality attempt
    };

    ScriptedSyncPort() { TestLog().tick = now; }

    uint32_t Now() override { return now; }
    void Wait(SyncWake&, uint32_t ms) override { Advance(ms); }
    bool Sleep(const DiscoveryRun& run, uint32_t ms) override {
        Advance(ms);
        return run.Running();
    }
    int32_t Role() override { return role; }
    bool ClientRunning() override { return clientRunning; }
    std::string ActivePeerIp() override { return peer; }
    std::optional<bool> PeerUltraCapability(const std::string& ip) override {
        return ip == peer ? record : std::nullopt;
    }
    bool SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq,
                             const char* reason) override {
        sent.push_back({now, "visibility", hidden, viewSeq, reason});
        return visibilityReply ? visibilityReply(ip, hidden, viewSeq) : true;
    }
    bool SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq, uint32_t attempt) override {
        sent.push_back({now, "quality", ultra, qualitySeq, std::to_string(attempt)});
        return qualityReply ? qualityReply(ip, ultra, qualitySeq, attempt) : true;
    }
    void SendControlRequest(const std::string&) override { sent.push_back({now, "request", false, 0, ""}); }
    bool DesiredUltra() override { return desiredUltra; }
    bool StoreQualityMode(bool ultra, const char* reason) override {
        desiredUltra = ultra;
        stored.push_back(std::string(ultra ? "ULTRA " : "H264 ") + reason);
        storedAt.push_back(now);
        return saves;
    }
    void Notify(const char16_t* english, const char16_t*, uint32_t icon, uint32_t timeoutMs) override {
        std::u16string text(english);
        balloons.push_back(Utf16ToUtf8(text) + " icon=" + std::to_string(icon) +
                           " ms=" + std::to_string(timeoutMs));
    }

    void Advance(uint32_t ms) {
        now += ms;
        TestLog().tick = now;
        if (stopAt != 0 && now >= stopAt && run != nullptr)
            run->RequestStop();
    }
    std::vector<Sent> SentOf(const std::string& what) const {
        std::vector<Sent> of;
        for (const Sent& s : sent)
            if (s.what == what)
                of.push_back(s);
        return of;
    }

    uint32_t now = 10000;
    uint32_t stopAt = 0; // the run is stopped once the clock reaches it (0: never)
    DiscoveryRun* run = nullptr;
    int32_t role = 1; // controller
    bool clientRunning = true;
    std::string peer = "10.0.0.2";
    std::optional<bool> record = true; // the peer record's ULTRA flag; nullopt: no record
    bool desiredUltra = false;
    bool saves = true;
    std::function<bool(const std::string&, bool, uint32_t)> visibilityReply;
    std::function<bool(const std::string&, bool, uint32_t, uint32_t)> qualityReply;
    std::vector<Sent> sent;
    std::vector<std::string> stored; // "ULTRA <reason>" / "H264 <reason>"
    std::vector<uint32_t> storedAt;
    std::vector<std::string> balloons; // "<English text> icon=<n> ms=<n>"
};

// A worker's test: the scripted port bound to the test's run, the controller's state and the test log.
class SyncWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        port.run = &run;
    }
    void TearDown() override { Log::Close(); }
    static size_t Lines(const std::string& part) { return CountLogMessages(part); }

    ScriptedSyncPort port;
    ControllerVideoSyncState state;
    DiscoveryRun run;
};
