#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/VirtualScreenLink.h"

// A virtual-screen link that is ready when the test says so and records what goes to the peer.
class RecordingVirtualScreenLink final : public IVirtualScreenLink {
public:
    struct Sent {
        VirtualScreenPacket packet;
        bool priority = false;
    };

    bool ready = true;
    bool scope = false;

    bool IsInputReady() override { return ready; }
    bool Send(const VirtualScreenPacket& packet, bool priority) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent.push_back({packet, priority});
        return true;
    }
    void SetInputScope(bool active, const char*) override { scope = active; }
    bool IsInputScope() override { return scope; }
    void NoteButtonForwarded(int32_t button, bool down) override {
        Note("button " + std::to_string(button) + (down ? " down" : " up"));
    }
    void SyncModifiers(const char*) override { Note("sync"); }
    void ReleaseModifiers(const char*) override { Note("release"); }
    void CancelRemoteDrag() override { Note("cancel-drag"); }
    bool OfferDroppedFiles(const std::vector<std::u16string>& paths) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_offered.push_back(paths);
        return true;
    }

    std::vector<Sent> SentPackets() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sent;
    }
    std::vector<std::string> Notes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_notes;
    }
    std::vector<std::vector<std::u16string>> Offered() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_offered;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent.clear();
        m_notes.clear();
    }

private:
    void Note(std::string text) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_notes.push_back(std::move(text));
    }

    std::mutex m_mutex;
    std::vector<Sent> m_sent;
    std::vector<std::string> m_notes;
    std::vector<std::vector<std::u16string>> m_offered;
};

// A remote drag whose download starts or is refused as the test says, recording the calls.
class RecordingRemoteDragOffer final : public IRemoteDragOffer {
public:
    bool startDownload = false;
    std::vector<std::u16string> downloads;
    std::vector<std::string> cancels;

    bool TriggerDownload(const std::u16string& target) override {
        downloads.push_back(target);
        return startDownload;
    }
    void CancelForLocalDrop(const char* reason) override { cancels.push_back(reason); }
};
