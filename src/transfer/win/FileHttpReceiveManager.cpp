#include <windows.h>

#include "transfer/win/FileHttpReceiveManager.h"

#include <memory>
#include <utility>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/ThreadHelpers.h"
#include "core/win/TextConvert.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/FileTransferUi.h"
#include "transfer/ManifestReader.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/HttpClient.h"
#include "transfer/win/ReceiveFolder.h"

namespace {

constexpr char kWorkerName[] = "FileHttpReceiveManager::Worker";

bool ConflictRenameSetting() {
    return ConfigService::Instance().GetSnapshot().fileConflictRename != 0;
}

// The worker's view of the system: the HTTP client bound to the peer's address, the disk, the process-wide
// transfer model, the command bus and the runtime state.
class SystemReceivePorts final : public IReceivePorts {
public:
    explicit SystemReceivePorts(std::string allowedHost) { m_options.allowedHost = std::move(allowedHost); }

    bool GetManifest(const std::string& url, std::string& body, std::string& error) override {
        return HttpClient::GetText(url, m_options, body, error);
    }
    bool ParseManifest(std::string_view json, std::vector<ManifestItem>& items, size_t& skipped) override {
        return ::ParseManifest(json, items, skipped);
    }
    std::u16string ResolveTargetRoot(const std::string& targetPathUtf8) override {
        return std::u16string(AsUtf16(ResolveReceiveFolder(targetPathUtf8).c_str()));
    }
    bool QueryFreeBytes(const std::u16string& root, uint64_t& freeBytes, uint32_t& systemError) override {
        return CheckDiskSpace(AsWide(root), freeBytes, systemError);
    }
    bool DownloadItem(const std::string& manifestUrl, const ManifestItem& item, const std::u16string& root,
                      bool conflictRename, const Progress& progress, std::string& error) override {
        return HttpClient::DownloadItem(manifestUrl, item, AsWide(root), conflictRename, progress, m_options,
                                        error);
    }

    void UiStart(uint64_t id, std::u16string_view name, uint64_t totalBytes) override {
        Ui().Start(FileTransferPhase::Receiving, id, name, totalBytes);
    }
    void UiProgress(uint64_t id, std::u16string_view name, uint64_t doneBytes, uint64_t totalBytes,
                    uint64_t currentDoneBytes, uint64_t currentTotalBytes) override {
        Ui().UpdateProgress(id, name, doneBytes, totalBytes, currentDoneBytes, currentTotalBytes);
    }
    void UiItems(uint64_t id, uint32_t itemIndex, uint32_t itemCount) override {
        Ui().SetItemProgress(id, itemIndex, itemCount);
    }
    void UiComplete(uint64_t id, std::u16string_view text) override { Ui().Complete(id, text); }
    void UiFail(uint64_t id, std::u16string_view text) override { Ui().Fail(id, text); }
    void UiCancel(uint64_t id, std::u16string_view text) override { Ui().Cancel(id, text); }
    bool UiShouldStop(uint64_t id) override { return Ui().IsCancelRequested(id) || Ui().ShouldStop(id); }
    bool UiEnglish() override { return ConfigService::Instance().IsUiLanguageEnglish(); }

    void PublishProgress(const FileProgressReport& report, uint64_t correlationId) override {
        CommandBus::Instance().Publish(MakeFileProgressCommand(report, correlationId));
    }
    void PublishDone(const FileResultReport& report, uint64_t correlationId) override {
        CommandBus::Instance().Publish(MakeFileDoneCommand(report, correlationId));
    }
    void PublishError(const FileResultReport& report, uint64_t correlationId) override {
        CommandBus::Instance().Publish(MakeFileErrorCommand(report, correlationId));
    }
    void PublishCancel(uint64_t transferId, std::string_view reason, uint64_t correlationId) override {
        CommandBus::Instance().Publish(MakeFileCancelCommand(transferId, reason, correlationId));
    }

    void SetDownloading(bool active) override {
        if (RuntimeSetHttpActiveDownloads(active ? 1 : 0))
            RuntimeNotifyChanged();
        StateManager::Instance().SetActiveDownloads(active ? 1 : 0);
    }
    void SetDownloadFolder(const std::string& folderUtf8) override {
        if (RuntimeSetHttpLastFile(folderUtf8.c_str()))
            RuntimeNotifyChanged();
    }
    uint32_t TickMs() override { return ::GetTickCount(); }

private:
    static FileTransferUi& Ui() { return FileTransferUi::Instance(); }

    HttpClient::Options m_options;
};

} // namespace

FileHttpReceiveManager& FileHttpReceiveManager::Instance() {
    static FileHttpReceiveManager* manager = new FileHttpReceiveManager();
    return *manager;
}

bool FileHttpReceiveManager::Start() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_admission.IsRunning())
        return true;
    m_admission.SetRunning(true);
    m_subscription = CommandBus::Instance().Subscribe(
        kCommandFileHttpBegin, [this](const CommandMessage& message) { OnBeginCommand(message); });
    Log::Write("FileHttpReceiveManager Start sub=%llu", static_cast<unsigned long long>(m_subscription));
    return m_subscription != 0;
}

void FileHttpReceiveManager::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_admission.IsRunning())
        return;
    m_admission.SetRunning(false);
    if (m_subscription != 0)
        CommandBus::Instance().Unsubscribe(m_subscription);
    m_subscription = 0;
    m_admission.Clear();
    Log::Write("FileHttpReceiveManager Stop");
}

void FileHttpReceiveManager::SetPeerAddressSource(std::function<std::string()> source) {
    std::lock_guard<std::mutex> lock(m_peerMutex);
    m_peerAddress = std::move(source);
}

std::string FileHttpReceiveManager::AllowedHost() {
    std::function<std::string()> source;
    {
        std::lock_guard<std::mutex> lock(m_peerMutex);
        source = m_peerAddress;
    }
    return source ? source() : ClipboardChannel::Instance().PeerAddress();
}

void FileHttpReceiveManager::OnBeginCommand(const CommandMessage& message) {
    if (!m_admission.IsRunning() || message.name != "file.http.begin")
        return;
    Accept(message.PayloadText(), BeginOrigin::Peer, message.correlationId);
}

BeginResult FileHttpReceiveManager::BeginFromHttpBeginPayload(const std::string& payload,
                                                              const std::string& targetFolderUtf8) {
    if (!m_admission.IsRunning()) {
        Log::Write("FileHttpReceiveManager BeginFromHttpBeginPayload ignored: not running");
        return BeginResult::NotRunning;
    }
    const std::string edited = LocalBeginPayload(payload, targetFolderUtf8, ConflictRenameSetting());
    const BeginResult result = Accept(edited, BeginOrigin::Local, 0);
    Log::Write("[RDRAG][DROP] FileHttpReceiveManager begin target=%s payloadBytes=%u",
               targetFolderUtf8.c_str(), static_cast<unsigned>(edited.size()));
    return result;
}

BeginResult FileHttpReceiveManager::Accept(const std::string& payload, BeginOrigin origin,
                                           uint64_t correlationId) {
    return StartReceive(payload, origin, ConflictRenameSetting(), correlationId, m_admission,
                        std::make_shared<SystemReceivePorts>(AllowedHost()),
                        [](std::function<void()> body, std::string& error) {
                            return StartDetachedWorker(kWorkerName, std::move(body), &error);
                        });
}
