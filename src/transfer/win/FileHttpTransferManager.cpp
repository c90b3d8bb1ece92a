#include <string>
#include <vector>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/Utf.h"
#include "core/win/TextConvert.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/ManifestBuild.h"
#include "transfer/ManifestJson.h"
#include "transfer/win/FileHttpServer.h"
#include "transfer/win/FileHttpServerShared.h"

FileHttpTransferManager& FileHttpTransferManager::Instance() {
    // Never destroyed: offers may come from threads that still run while the process exits.
    static FileHttpTransferManager* const instance = new FileHttpTransferManager();
    return *instance;
}

bool FileHttpTransferManager::StartServer() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_server.IsRunning()) {
        PublishHttpServerState(true, m_server.Port());
        Log::Write("FileHttpTransferManager StartServer already running port=%u", unsigned(m_server.Port()));
        return true;
    }
    const bool ok = m_server.Start();
    Log::Write("FileHttpTransferManager StartServer ok=%d port=%u", ok ? 1 : 0, unsigned(m_server.Port()));
    return ok;
}

void FileHttpTransferManager::StopServer() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_server.Stop();
}

bool FileHttpTransferManager::IsServerRunning() const {
    return m_server.IsRunning();
}

uint16_t FileHttpTransferManager::ServerPort() const {
    return m_server.Port();
}

void FileHttpTransferManager::SetPeerFilter(PeerFilter::Allows allows) {
    m_server.SetPeerFilter(std::move(allows));
}

bool FileHttpTransferManager::BeginOffer(const std::vector<std::wstring>& paths, const std::string& host,
                                         const std::string& targetPath, uint64_t& transferId,
                                         std::string& payload) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (paths.empty() || host.empty()) {
        Log::Write("FileHttpTransferManager BeginOffer refused paths=%u host=%s",
                   static_cast<unsigned>(paths.size()), host.c_str());
        return false;
    }
    std::vector<ManifestEntry> entries;
    std::shared_ptr<const ManifestOffer> offer;
    // The id is taken only once the offer stands, so a failed offer uses no number.
    if (FileHttpServer::BuildEntries(paths, entries))
        offer = MakeManifestOffer(m_nextTransferId, std::move(entries));
    if (!offer) {
        Log::Write("FileHttpTransferManager BeginOffer build manifest failed");
        return false;
    }
    LogManifestEntries(offer->entries);
    if (!m_server.IsRunning() && !m_server.Start()) {
        Log::Write("FileHttpTransferManager BeginOffer http server start failed");
        return false;
    }
    transferId = m_nextTransferId++;
    m_server.AddOffer(offer);

    HttpBeginPayload begin;
    begin.transferId = transferId;
    begin.direction = 1;
    begin.totalBytes = offer->totalBytes;
    begin.itemCount = static_cast<uint32_t>(offer->entries.size());
    begin.httpPort = m_server.Port();
    begin.displayName = DisplayName(paths);
    begin.targetPath = targetPath;
    begin.manifestUrl = ManifestAddress(host, begin.httpPort, transferId);
    begin.conflictRename = ConfigService::Instance().GetSnapshot().fileConflictRename != 0;
    payload = FormatHttpBeginPayload(begin);
    Log::Write("FileHttpTransferManager offer begin id=%llu items=%u total=%llu url=%s conflict=%s",
               static_cast<unsigned long long>(transferId), begin.itemCount,
               static_cast<unsigned long long>(begin.totalBytes), begin.manifestUrl.c_str(),
               begin.conflictRename ? "rename" : "overwrite");
    return true;
}

std::string FileHttpTransferManager::DisplayName(const std::vector<std::wstring>& paths) {
    if (paths.empty())
        return std::string();
    return Utf16ToUtf8(LastPathComponent(AsUtf16(paths.front().c_str())));
}
