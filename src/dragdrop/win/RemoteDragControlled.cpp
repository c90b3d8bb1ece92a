#include "dragdrop/win/RemoteDragControlled.h"

#include <windows.h>

#include <atomic>
#include <utility>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "dragdrop/ShellCandidates.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/DragVisualFlag.h"
#include "dragdrop/win/DroppedPathSize.h"
#include "dragdrop/win/ShellSelection.h"
#include "dragdrop/win/ShellWindowFacts.h"

namespace {

std::atomic<IRemoteDragOfferSender*> g_sender{nullptr};

constexpr int kClassNameChars = 128;

POINT ToPoint(DragScreenPoint point) {
    return POINT{point.x, point.y};
}

// The press point's window and its parents up to its root: an edit control among them is a text
// selection, not a file drag.
bool TextEditAt(DragScreenPoint at) {
    const POINT point = ToPoint(at);
    const HWND hit = ::WindowFromPoint(point);
    if (hit == nullptr)
        return false;
    const HWND root = ::GetAncestor(hit, GA_ROOT);
    for (HWND window = hit; window != nullptr; window = ::GetParent(window)) {
        wchar_t name[kClassNameChars] = {};
        ::GetClassNameW(window, name, kClassNameChars);
        if (IsTextEditorClass(AsUtf16(name))) {
            Log::Write("[RDRAG][SEL][TEXT_EDIT_GUARD] pt=%d,%d reason=hit hwnd=0x%p class=%s root=0x%p", at.x,
                       at.y, static_cast<void*>(window), WideToUtf8(name).c_str(), static_cast<void*>(root));
            return true;
        }
        if (window == root)
            break;
    }
    return ShellSelection::IsTextEditAtPoint(point, root);
}

void FillStartSelection(DragScreenPoint at, uint64_t gestureId, uint64_t generation) {
    std::vector<std::u16string> paths;
    int32_t rank = RemoteDragSelection::kRankNone;
    {
        ComApartment com(COINIT_APARTMENTTHREADED);
        if (FAILED(com.Result()) && com.Result() != RPC_E_CHANGED_MODE) {
            Log::Write("[RDRAG][SEL][START][ERR] CoInitializeEx failed hr=0x%08lx",
                       static_cast<unsigned long>(com.Result()));
        } else {
            std::vector<std::wstring> found;
            if (ShellSelection::GetSelectionAtPoint(ToPoint(at), found)) {
                for (const std::wstring& path : found)
                    paths.emplace_back(AsUtf16(path.c_str()));
                const HWND hit = ::WindowFromPoint(ToPoint(at));
                rank = hit != nullptr ? ZRankOfRoot(TopLevelOrder(), RootOf(RootOf(hit))) : kZRankNotFound;
            }
        }
    }
    RemoteDragControlled::Selection().StoreStartSelection(gestureId, generation, at, std::move(paths), rank);
}

class Win32SelectionPorts final : public IRemoteDragSelectionPorts {
public:
    uint32_t TickMs() override { return ::GetTickCount(); }
    bool MonitorRunning() override { return DragDrop::IsRunning(); }
    int32_t Role() override { return RuntimeGetRole(); }
    DragScreenPoint CursorPos() override {
        POINT point{};
        ::GetCursorPos(&point);
        return {point.x, point.y};
    }
    bool TextEditAt(DragScreenPoint point) override { return ::TextEditAt(point); }
    void StartSelectionFill(DragScreenPoint point, uint64_t gestureId, uint64_t generation) override {
        std::string error;
        if (!StartDetachedWorker(
                "RemoteDragStartSelection",
                [point, gestureId, generation] { FillStartSelection(point, gestureId, generation); },
                &error)) {
            Log::Write("[RDRAG][SEL][START][ERR] thread create failed: %s", error.c_str());
            RemoteDragControlled::Selection().StoreStartSelection(gestureId, generation, point, {},
                                                                  RemoteDragSelection::kRankNone);
        }
    }
    void ResetRuntimeDrag() override {
        RuntimeSetDropReady(false, 0, 0, nullptr);
        RuntimeSetRemoteDrag(false, 0, 0, 0, 0, "");
    }
    bool RuntimeShowsRemoteDrag() override {
        const RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
        return snapshot.remoteDragActive || snapshot.remoteDragCount >= 1;
    }
    void PublishSelection(std::vector<std::u16string> paths, uint64_t gestureId) override {
        std::vector<std::wstring> wide;
        wide.reserve(paths.size());
        for (const std::u16string& path : paths)
            wide.push_back(AsWide(path));
        std::string error;
        if (!StartDetachedWorker(
                "RemoteDragPublish",
                [wide = std::move(wide), gestureId] { RemoteDragControlled::PublishPaths(wide, gestureId); },
                &error))
            Log::Write("[RDRAG][SEND][ERR] publish thread create failed: %s", error.c_str());
    }
    bool ExchangeDragVisual(bool on) override { return ExchangeDragVisualAndRefresh(on); }
};

} // namespace

namespace RemoteDragControlled {

void SetOfferSender(IRemoteDragOfferSender* sender) {
    g_sender.store(sender);
}

RemoteDragSelection& Selection() {
    // Never destroyed: the fill and publish threads are detached and may outlive everything else.
    static auto* ports = new Win32SelectionPorts();
    static auto* selection = new RemoteDragSelection(*ports);
    return *selection;
}

void PublishPaths(const std::vector<std::wstring>& paths, uint64_t gestureId) {
    if (paths.empty())
        return;
    bool folder = false;
    uint64_t bytes = 0;
    for (const std::wstring& path : paths) {
        const uint64_t size = SumDroppedPaths(path, folder);
        bytes = bytes > UINT64_MAX - size ? UINT64_MAX : bytes + size;
    }
    const std::string detail = RemoteDragOfferDetail(WideToUtf8(paths.front().c_str()), paths.size());
    RuntimeSetLocalDrag(static_cast<int32_t>(paths.size()), true, bytes, folder ? 1 : 0, detail.c_str());
    if (!Selection().IsPendingGesture(gestureId)) {
        Log::Write("[RDRAG][SEND][SKIP] id=%llu offer cleared before it was sent",
                   static_cast<unsigned long long>(gestureId));
        return;
    }
    if (IRemoteDragOfferSender* sender = g_sender.load())
        sender->SendOffer(paths, bytes, folder, detail);
    Log::Write(
        "[RDRAG][SEL][PUBLISH] id=%llu reason=%s count=%u bytes=%llu folder=%d startCache=%d detail=%s",
        static_cast<unsigned long long>(gestureId), "injected-drag-confirmed",
        static_cast<unsigned>(paths.size()), static_cast<unsigned long long>(bytes), folder ? 1 : 0, 1,
        detail.c_str());
}

} // namespace RemoteDragControlled

namespace ClipboardFileStartCache {

bool Take(std::vector<std::wstring>& paths) {
    std::vector<std::u16string> cached;
    if (!RemoteDragControlled::Selection().TakeStartCacheForClipboard(cached))
        return false;
    paths.clear();
    for (const std::u16string& path : cached)
        paths.push_back(AsWide(path));
    return true;
}

} // namespace ClipboardFileStartCache
