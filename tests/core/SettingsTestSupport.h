#pragma once

// Fakes of the settings' system side and the range check of a validated record, shared by the settings
// tests and the settings fuzz target (no test framework here).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/ConfigService.h"
#include "core/RuntimeConfig.h"
#include "core/SettingsClearTypeGuard.h"
#include "core/SettingsStore.h"

inline StoredValue Dword(uint32_t v) {
    return StoredValue{kRegistryTypeDword, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
}
inline StoredValue Raw(uint32_t type, std::vector<uint8_t> bytes) {
    return StoredValue{type, std::move(bytes)};
}
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegQword = 11;

// A registry key in memory that fails where told and records every call ("read X", "write X=V",
// "delete X").
class FakeSettingsStore : public ISettingsStore {
public:
    std::optional<StoredValue> Read(std::string_view name) override {
        std::string key(name);
        ops.push_back("read " + key);
        auto it = values.find(key);
        if (!keyExists || it == values.end())
            return std::nullopt;
        return it->second;
    }
    StoreResult WriteDword(std::string_view name, uint32_t value) override {
        std::string key(name);
        ops.push_back("write " + key + "=" + std::to_string(value));
        if (failOpen != 0)
            return StoreResult{failOpen, StoreResult::Step::Open};
        keyExists = true;
        if (auto it = failWrite.find(key); it != failWrite.end())
            return StoreResult{it->second, StoreResult::Step::Value};
        values[key] = Dword(value);
        return StoreResult{};
    }
    StoreResult DeleteValue(std::string_view name) override {
        std::string key(name);
        ops.push_back("delete " + key);
        if (!keyExists)
            return StoreResult{kRegistryNotFound, StoreResult::Step::Open};
        if (failOpen != 0)
            return StoreResult{failOpen, StoreResult::Step::Open};
        if (auto it = failDelete.find(key); it != failDelete.end())
            return StoreResult{it->second, StoreResult::Step::Value};
        return values.erase(key) != 0 ? StoreResult{}
                                      : StoreResult{kRegistryNotFound, StoreResult::Step::Value};
    }

    // The value when it is a 4-byte REG_DWORD.
    std::optional<uint32_t> StoredDword(const std::string& name) const {
        auto it = values.find(name);
        if (it == values.end() || it->second.type != kRegistryTypeDword || it->second.bytes.size() != 4)
            return std::nullopt;
        const std::vector<uint8_t>& b = it->second.bytes;
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }

    std::map<std::string, StoredValue> values;
    bool keyExists = true;
    long failOpen = 0;                      // rc of every open for writing, 0 = opens
    std::map<std::string, long> failWrite;  // rc of the value write by name
    std::map<std::string, long> failDelete; // rc of the value delete by name
    std::vector<std::string> ops;
};

class FakeFontSmoothing : public IFontSmoothing {
public:
    FontSmoothingResult SetEnabled(bool enabled) override {
        calls.push_back(std::string("enable ") + (enabled ? "1" : "0"));
        return failEnable ? FontSmoothingResult{false, 87} : FontSmoothingResult{};
    }
    FontSmoothingResult SetType(uint32_t type) override {
        calls.push_back("type " + std::to_string(type));
        return failType ? FontSmoothingResult{false, 87} : FontSmoothingResult{};
    }

    bool failEnable = false;
    bool failType = false;
    std::vector<std::string> calls;
};

class FakeSettingsPlatform : public ISettingsPlatform {
public:
    ISettingsStore& SettingsStore() override { return settings; }
    TextClearTypeGuard& ClearTypeGuard() override { return guard; }
    bool IsSystemLanguageChinese() override { return chinese; }

    FakeSettingsStore settings;
    FakeSettingsStore guardStore;
    FakeFontSmoothing smoothing;
    TextClearTypeGuard guard{guardStore, smoothing};
    bool chinese = false;
};

// Empty when every field lies where readers rely on it, else the first field that does not.
inline std::string RangeViolation(const ConfigSnapshot& s, uint32_t renderScaleMode) {
    auto isBool = [](uint32_t v) { return v <= 1; };
    auto isDimension = [](int32_t v, int32_t minimum) {
        return v == 0 || (v >= minimum && v <= 8192 && v % 2 == 0);
    };
    if (s.fps < 1 || s.fps > 240)
        return "fps";
    if (s.bitrate < 1000000 || s.bitrate > 300000000)
        return "bitrate";
    if (!isDimension(s.maxVideoWidth, 320))
        return "maxVideoWidth";
    if (!isDimension(s.maxVideoHeight, 240))
        return "maxVideoHeight";
    if (s.idleFps < 0 || s.idleFps > static_cast<int32_t>(s.fps))
        return "idleFps";
    if (s.idleKeepaliveMs < 250 || s.idleKeepaliveMs > 10000)
        return "idleKeepaliveMs";
    if (!isBool(s.lowBandwidthEnable) || !isBool(s.audioEnable) || !isBool(s.uiLanguageEnglish) ||
        !isBool(s.remoteInputEnable) || !isBool(s.clipboardEnable) || !isBool(s.fileConflictRename) ||
        !isBool(s.autoConnectEnable) || !isBool(s.videoQualityMode))
        return "bool field";
    if (s.remoteTextMode > 3)
        return "remoteTextMode";
    if (renderScaleMode > 3)
        return "renderScaleMode";
    if (s.virtualScreenMode > 4)
        return "virtualScreenMode";
    if (s.longTransferAutoShowDelayMs < 1000 || s.longTransferAutoShowDelayMs > 60000)
        return "longTransferAutoShowDelayMs";
    if (s.videoPort == 0 || s.inputPort == 0 || s.audioPort == 0 || s.clipboardPort == 0)
        return "port 0";
    if (s.inputPort == s.videoPort || s.audioPort == s.videoPort || s.audioPort == s.inputPort ||
        s.clipboardPort == s.videoPort || s.clipboardPort == s.inputPort || s.clipboardPort == s.audioPort)
        return "port conflict";
    return "";
}
