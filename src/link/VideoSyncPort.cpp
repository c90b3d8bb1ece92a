#include "link/VideoSyncPort.h"

#include "core/ConfigService.h"
#include "core/EventBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/Discovery.h"
#include "link/DiscoveryRun.h"
#include "link/KvmSessionManager.h"
#include "link/SessionControllerServices.h"
#include "link/VideoSyncState.h"

uint32_t VideoSyncPort::Now() {
    return Log::TickCount();
}

void VideoSyncPort::Wait(SyncWake& wake, uint32_t ms) {
    wake.Wait(ms);
}

bool VideoSyncPort::Sleep(const DiscoveryRun& run, uint32_t ms) {
    return run.SleepFor(ms);
}

int32_t VideoSyncPort::Role() {
    return RuntimeGetRole();
}

bool VideoSyncPort::ClientRunning() {
    return RuntimeIsClientRunning();
}

std::string VideoSyncPort::ActivePeerIp() {
    return KvmSessionManager::Instance().ActivePeerIp();
}

std::optional<bool> VideoSyncPort::PeerUltraCapability(const std::string& ip) {
    std::optional<PeerRecord> record = Discovery::Service().FindPeerByIp(ip);
    if (!record)
        return std::nullopt;
    return record->ultra != 0;
}

bool VideoSyncPort::SendVideoVisibility(const std::string& ip, bool hidden, uint32_t viewSeq,
                                        const char* reason) {
    (void)ip, (void)hidden, (void)viewSeq, (void)reason;
    return false;
}

bool VideoSyncPort::SendVideoQuality(const std::string& ip, bool ultra, uint32_t qualitySeq,
                                     uint32_t attempt) {
    (void)ip, (void)ultra, (void)qualitySeq, (void)attempt;
    return false;
}

void VideoSyncPort::SendControlRequest(const std::string& ip) {
    InstalledSessionControllerServices().SendControlRequest(ip);
}

bool VideoSyncPort::DesiredUltra() {
    return ConfigService::Instance().GetSnapshot().videoQualityMode != 0;
}

bool VideoSyncPort::StoreQualityMode(bool ultra, const char* reason) {
    ConfigService& config = ConfigService::Instance();
    config.SetVideoQualityMode(ultra);
    Log::Write("[CONFIG][SERVICE] videoQualityMode=%s reason=%s", ultra ? "ULTRA" : "H264", reason);
    return config.Save();
}

void VideoSyncPort::Notify(const char16_t* english, const char16_t* chinese, uint32_t icon,
                           uint32_t timeoutMs) {
    const char16_t* text = ConfigService::Instance().IsUiLanguageEnglish() ? english : chinese;
    PostUiNotification(u"Marlo", text, icon, timeoutMs);
}
