// Feeds arbitrary stored registry values (type, size, bytes) and failing registry calls into the settings
// load, and aborts when a loaded field leaves its range, a policy is not applied, or what Save wrote does
// not load back the same.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../core/SettingsTestSupport.h"
#include "core/ConfigService.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint32_t Word() { return Byte() | Byte() << 8 | Byte() << 16 | uint32_t(Byte()) << 24; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

const char* const kSettingNames[] = {"AudioEnable",
                                     "UiLanguageEnglish",
                                     "FileConflictRename",
                                     "RemoteTextMode",
                                     "LongTransferAutoShowDelayMs",
                                     "AutoConnectEnable",
                                     "AutoConnectPolicyVersion",
                                     "VirtualScreenMode",
                                     "VideoQualityMode"};
const char* const kGuardNames[] = {"Active", "WasEnabled", "OldType"};

// Mostly 4-byte REG_DWORDs (the values that count), else any type and size up to 9 bytes.
void MaybeStore(Input& in, FakeSettingsStore& store, const char* name) {
    uint8_t shape = in.Byte();
    if (shape % 4 == 0)
        return;
    if (shape % 4 != 3) {
        store.values[name] = Dword(in.Word());
        return;
    }
    uint32_t type = in.Byte() % 12;
    std::vector<uint8_t> bytes(in.Byte() % 10);
    for (uint8_t& b : bytes)
        b = in.Byte();
    store.values[name] = Raw(type, bytes);
}

void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "FuzzSettingsLoad: %s %s\n", what, detail.c_str());
    std::abort();
}

void CheckInRange(ConfigService& service, const char* when) {
    std::string violation = RangeViolation(service.GetSnapshot(), service.GetRenderScaleMode());
    if (!violation.empty())
        Fail(when, violation);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    FakeSettingsPlatform platform;
    for (const char* name : kSettingNames)
        MaybeStore(in, platform.settings, name);
    for (const char* name : kGuardNames)
        MaybeStore(in, platform.guardStore, name);
    uint8_t switches = in.Byte();
    platform.chinese = switches & 1;
    platform.smoothing.failEnable = switches & 2;
    platform.smoothing.failType = switches & 4;
    bool writesFail = switches & 8;
    if (writesFail)
        platform.settings.failOpen = 5;
    if (switches & 16)
        platform.settings.failWrite[kSettingNames[in.Byte() % 9]] = 5;
    bool policyCurrent = false;
    if (std::optional<uint32_t> policy = platform.settings.StoredDword("AutoConnectPolicyVersion"))
        policyCurrent = *policy >= 1;

    int publishes = 0;
    ConfigService service;
    service.Attach(platform, [&](const PortSet& p) {
        ++publishes;
        if (p.video != 6000 || p.input != 5000 || p.audio != 7001 || p.clipboard != 5002 || p.http != 0)
            Fail("published ports", std::to_string(p.video));
    });
    service.Load();
    CheckInRange(service, "after load");
    ConfigSnapshot loaded = service.GetSnapshot();
    if (publishes != 1)
        Fail("publishes after load", std::to_string(publishes));
    if (loaded.remoteTextMode != 0)
        Fail("remoteTextMode kept", std::to_string(loaded.remoteTextMode));
    if (!policyCurrent && loaded.autoConnectEnable != 0)
        Fail("auto-connect on without the policy", "");

    // Change what the tray may change, save, and load it back over the same store.
    service.SetAudioEnable(in.Byte() & 1);
    service.SetFileConflictRename(in.Byte() & 1);
    service.SetVirtualScreenMode(in.Word());
    service.SetAutoConnectEnable(in.Byte() & 1);
    service.SetVideoQualityMode(in.Byte() & 1);
    CheckInRange(service, "after setters");
    bool saved = service.Save();
    if (saved) {
        FakeSettingsPlatform again;
        again.settings.values = platform.settings.values;
        ConfigService reloaded;
        reloaded.Attach(again, nullptr);
        reloaded.Load();
        ConfigSnapshot a = service.GetSnapshot();
        ConfigSnapshot b = reloaded.GetSnapshot();
        if (a.audioEnable != b.audioEnable || a.uiLanguageEnglish != b.uiLanguageEnglish ||
            a.fileConflictRename != b.fileConflictRename ||
            a.longTransferAutoShowDelayMs != b.longTransferAutoShowDelayMs ||
            a.autoConnectEnable != b.autoConnectEnable || a.virtualScreenMode != b.virtualScreenMode ||
            a.videoQualityMode != b.videoQualityMode)
            Fail("saved settings do not load back", "");
    } else if (!writesFail && !(switches & 16)) {
        Fail("save failed without a failing write", "");
    }

    service.ResetDefaults();
    CheckInRange(service, "after reset");
    if (publishes != 2)
        Fail("publishes after reset", std::to_string(publishes));
    return 0;
}
