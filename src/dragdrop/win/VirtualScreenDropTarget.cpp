#include "dragdrop/win/VirtualScreenDropTarget.h"

#include <shellapi.h>

#include "core/Log.h"
#include "dragdrop/win/VirtualScreen.h"
#include "dragdrop/win/VirtualScreenState.h"

namespace {

bool AtEdge(POINTL point, int32_t mode) {
    return mode != 0 && VirtualScreen::IsPointAtEdge(POINT{point.x, point.y}, mode, kDropMargin);
}

} // namespace

bool ExtractHdropPaths(IDataObject* data, std::vector<std::u16string>& paths) {
    paths.clear();
    if (data == nullptr)
        return false;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        wchar_t name[1040];
        for (UINT i = 0; i < count; ++i) {
            const UINT length = ::DragQueryFileW(drop, i, name, 1040);
            // A name that does not fit would be cut to another path: it is left out instead.
            if (length == 0 || length >= 1039)
                continue;
            paths.emplace_back(reinterpret_cast<const char16_t*>(name), length);
        }
    }
    ::ReleaseStgMedium(&medium);
    return !paths.empty();
}

HRESULT VirtualScreenDropTarget::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG VirtualScreenDropTarget::AddRef() {
    return ++m_refs;
}

ULONG VirtualScreenDropTarget::Release() {
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT VirtualScreenDropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    std::vector<std::u16string> paths;
    const bool ok = ExtractHdropPaths(data, paths);
    const auto count = static_cast<unsigned>(paths.size());
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_paths = std::move(paths);
    }
    const int32_t mode = VirtualScreen::Mode();
    if (ok && AtEdge(point, mode))
        VsState().oleDragOverEdge = true;
    Log::Write("[VSCREEN][DROP] DragEnter ok=%d count=%u pt=%ld,%ld mode=%d", ok ? 1 : 0, count, point.x,
               point.y, mode);
    if (effect != nullptr)
        *effect = ok ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT VirtualScreenDropTarget::DragOver(DWORD, POINTL point, DWORD* effect) {
    const bool atEdge = AtEdge(point, VirtualScreen::Mode());
    VsState().oleDragOverEdge = atEdge;
    if (effect != nullptr)
        *effect = atEdge ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT VirtualScreenDropTarget::DragLeave() {
    VsState().oleDragOverEdge = false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_paths.clear();
    return S_OK;
}

HRESULT VirtualScreenDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    std::vector<std::u16string> paths;
    if (!ExtractHdropPaths(data, paths)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        paths = m_paths;
    }
    const int32_t mode = VirtualScreen::Mode();
    bool ok = false;
    if (AtEdge(point, mode))
        ok = VirtualScreen::DropFilesToRemote(paths, POINT{point.x, point.y}, mode, "edge-drop");
    if (effect != nullptr)
        *effect = ok ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    VsState().oleDragOverEdge = false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_paths.clear();
    return S_OK;
}
