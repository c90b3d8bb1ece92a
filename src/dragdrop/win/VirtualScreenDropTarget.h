#pragma once

#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// The OLE drop target of the virtual screen's edge window: files dragged by the shell within 32 pixels of
// the edge are dropped on the peer. Called on the UI thread (the OLE apartment); the path list has its own
// mutex.
class VirtualScreenDropTarget final : public IDropTarget {
public:
    VirtualScreenDropTarget() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~VirtualScreenDropTarget() = default;

    std::atomic<ULONG> m_refs{1};
    std::mutex m_mutex;
    std::vector<std::u16string> m_paths; // under m_mutex
};

// The CF_HDROP paths of a data object; false when it carries none.
bool ExtractHdropPaths(IDataObject* data, std::vector<std::u16string>& paths);
