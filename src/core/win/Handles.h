#pragma once

#include <winsock2.h>
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <avrt.h>
#include <setupapi.h>
#include <userenv.h>
#include <wtsapi32.h>
// The HID headers carry no C++ linkage guards of their own.
extern "C" {
#include <hidsdi.h>
}

#include <string_view>
#include <utility>

// Owns a kernel handle; both 0 and INVALID_HANDLE_VALUE mean none.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : m_handle(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    HANDLE Release() { return std::exchange(m_handle, nullptr); }
    void Reset(HANDLE h = nullptr) {
        HANDLE old = std::exchange(m_handle, h);
        if (old != nullptr && old != INVALID_HANDLE_VALUE)
            ::CloseHandle(old);
    }

private:
    HANDLE m_handle = nullptr;
};

// Owns a Winsock socket.
class UniqueSocket {
public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET s) : m_socket(s) {}
    UniqueSocket(UniqueSocket&& other) noexcept : m_socket(other.Release()) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    ~UniqueSocket() { Reset(); }

    SOCKET Get() const { return m_socket; }
    bool Valid() const { return m_socket != INVALID_SOCKET; }
    SOCKET Release() { return std::exchange(m_socket, INVALID_SOCKET); }
    void Reset(SOCKET s = INVALID_SOCKET) {
        SOCKET old = std::exchange(m_socket, s);
        if (old != INVALID_SOCKET)
            ::closesocket(old);
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
};

// Owns a directory search from FindFirstFileW; ended with FindClose (not CloseHandle).
class UniqueFindHandle {
public:
    UniqueFindHandle() = default;
    explicit UniqueFindHandle(HANDLE h) : m_handle(h) {}
    UniqueFindHandle(UniqueFindHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    UniqueFindHandle& operator=(UniqueFindHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_handle, INVALID_HANDLE_VALUE));
        return *this;
    }
    UniqueFindHandle(const UniqueFindHandle&) = delete;
    UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
    ~UniqueFindHandle() { Reset(); }

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
        HANDLE old = std::exchange(m_handle, h);
        if (old != INVALID_HANDLE_VALUE && old != nullptr)
            ::FindClose(old);
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// Frees a LocalAlloc'ed block, as FormatMessage and a few security calls hand out.
struct LocalFreeDeleter {
    void operator()(void* p) const { ::LocalFree(p); }
};

// COM for the calling thread (multithreaded unless told otherwise), left again when the object ends when it
// was entered.
class ComApartment {
public:
    ComApartment() : ComApartment(COINIT_MULTITHREADED) {}
    // COINIT_APARTMENTTHREADED for a thread that talks to the shell's automation objects.
    explicit ComApartment(DWORD concurrencyModel) : m_hr(::CoInitializeEx(nullptr, concurrencyModel)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_hr))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// Owns a BSTR: freed with SysFreeString; null is a valid empty value.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(BSTR text) : m_text(text) {}
    UniqueBstr(UniqueBstr&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_text, nullptr));
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { Reset(); }

    // A copy of text; null when the allocation failed.
    static UniqueBstr Copy(std::u16string_view text) {
        return UniqueBstr(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                              static_cast<UINT>(text.size())));
    }

    BSTR Get() const { return m_text; }
    explicit operator bool() const { return m_text != nullptr; }
    // For an out parameter: frees the current text first.
    BSTR* Receive() {
        Reset();
        return &m_text;
    }
    std::u16string_view View() const {
        return m_text ? std::u16string_view(reinterpret_cast<const char16_t*>(m_text), ::SysStringLen(m_text))
                      : std::u16string_view();
    }
    void Reset(BSTR text = nullptr) {
        BSTR old = std::exchange(m_text, text);
        if (old)
            ::SysFreeString(old);
    }

private:
    BSTR m_text = nullptr;
};

// Frees a CoTaskMemAlloc'ed block, as COM and Media Foundation hand out for arrays and strings.
struct CoTaskMemFreeDeleter {
    void operator()(void* p) const { ::CoTaskMemFree(p); }
};

// Owns an open registry key; the predefined root keys are never held here.
class UniqueRegKey {
public:
    UniqueRegKey() = default;
    explicit UniqueRegKey(HKEY key) : m_key(key) {}
    UniqueRegKey(UniqueRegKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
    UniqueRegKey& operator=(UniqueRegKey&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_key, nullptr));
        return *this;
    }
    UniqueRegKey(const UniqueRegKey&) = delete;
    UniqueRegKey& operator=(const UniqueRegKey&) = delete;
    ~UniqueRegKey() { Reset(); }

    HKEY Get() const { return m_key; }
    void Reset(HKEY key = nullptr) {
        HKEY old = std::exchange(m_key, key);
        if (old != nullptr)
            ::RegCloseKey(old);
    }

private:
    HKEY m_key = nullptr;
};

// Owns a SetupAPI device information set (SetupDiGetClassDevsW, SetupDiCreateDeviceInfoList).
class UniqueDevInfoSet {
public:
    UniqueDevInfoSet() = default;
    explicit UniqueDevInfoSet(HDEVINFO set) : m_set(set) {}
    UniqueDevInfoSet(UniqueDevInfoSet&& other) noexcept
        : m_set(std::exchange(other.m_set, INVALID_HANDLE_VALUE)) {}
    UniqueDevInfoSet& operator=(UniqueDevInfoSet&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_set, INVALID_HANDLE_VALUE));
        return *this;
    }
    UniqueDevInfoSet(const UniqueDevInfoSet&) = delete;
    UniqueDevInfoSet& operator=(const UniqueDevInfoSet&) = delete;
    ~UniqueDevInfoSet() { Reset(); }

    HDEVINFO Get() const { return m_set; }
    bool Valid() const { return m_set != INVALID_HANDLE_VALUE && m_set != nullptr; }
    void Reset(HDEVINFO set = INVALID_HANDLE_VALUE) {
        HDEVINFO old = std::exchange(m_set, set);
        if (old != INVALID_HANDLE_VALUE && old != nullptr)
            ::SetupDiDestroyDeviceInfoList(old);
    }

private:
    HDEVINFO m_set = INVALID_HANDLE_VALUE;
};

// Owns a HID device's preparsed data (HidD_GetPreparsedData).
class UniquePreparsedData {
public:
    UniquePreparsedData() = default;
    explicit UniquePreparsedData(PHIDP_PREPARSED_DATA data) : m_data(data) {}
    UniquePreparsedData(UniquePreparsedData&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)) {}
    UniquePreparsedData& operator=(UniquePreparsedData&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_data, nullptr));
        return *this;
    }
    UniquePreparsedData(const UniquePreparsedData&) = delete;
    UniquePreparsedData& operator=(const UniquePreparsedData&) = delete;
    ~UniquePreparsedData() { Reset(); }

    PHIDP_PREPARSED_DATA Get() const { return m_data; }
    // For HidD_GetPreparsedData to fill; frees what was held first.
    PHIDP_PREPARSED_DATA* Put() {
        Reset();
        return &m_data;
    }
    void Reset(PHIDP_PREPARSED_DATA data = nullptr) {
        PHIDP_PREPARSED_DATA old = std::exchange(m_data, data);
        if (old != nullptr)
            ::HidD_FreePreparsedData(old);
    }

private:
    PHIDP_PREPARSED_DATA m_data = nullptr;
};

// Owns a device context from GetDC (a window's, or the screen's for a null window); released with
// ReleaseDC for the same window.
class UniqueWindowDC {
public:
    UniqueWindowDC() = default;
    UniqueWindowDC(HWND window, HDC dc) : m_window(window), m_dc(dc) {}
    UniqueWindowDC(UniqueWindowDC&& other) noexcept
        : m_window(std::exchange(other.m_window, nullptr)), m_dc(std::exchange(other.m_dc, nullptr)) {}
    UniqueWindowDC& operator=(UniqueWindowDC&& other) noexcept {
        if (this != &other) {
            Reset();
            m_window = std::exchange(other.m_window, nullptr);
            m_dc = std::exchange(other.m_dc, nullptr);
        }
        return *this;
    }
    UniqueWindowDC(const UniqueWindowDC&) = delete;
    UniqueWindowDC& operator=(const UniqueWindowDC&) = delete;
    ~UniqueWindowDC() { Reset(); }

    HDC Get() const { return m_dc; }
    void Reset() {
        HDC old = std::exchange(m_dc, nullptr);
        if (old != nullptr)
            ::ReleaseDC(m_window, old);
        m_window = nullptr;
    }

private:
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
};

// Owns a memory device context from CreateCompatibleDC.
class UniqueMemoryDC {
public:
    UniqueMemoryDC() = default;
    explicit UniqueMemoryDC(HDC dc) : m_dc(dc) {}
    UniqueMemoryDC(UniqueMemoryDC&& other) noexcept : m_dc(std::exchange(other.m_dc, nullptr)) {}
    UniqueMemoryDC& operator=(UniqueMemoryDC&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_dc, nullptr));
        return *this;
    }
    UniqueMemoryDC(const UniqueMemoryDC&) = delete;
    UniqueMemoryDC& operator=(const UniqueMemoryDC&) = delete;
    ~UniqueMemoryDC() { Reset(); }

    HDC Get() const { return m_dc; }
    void Reset(HDC dc = nullptr) {
        HDC old = std::exchange(m_dc, dc);
        if (old != nullptr)
            ::DeleteDC(old);
    }

private:
    HDC m_dc = nullptr;
};

// Owns a GDI object (bitmap, brush, pen, font); it must not be selected into a DC when it is deleted.
class UniqueGdiObject {
public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(HGDIOBJ object) : m_object(object) {}
    UniqueGdiObject(UniqueGdiObject&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_object, nullptr));
        return *this;
    }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
    ~UniqueGdiObject() { Reset(); }

    HGDIOBJ Get() const { return m_object; }
    void Reset(HGDIOBJ object = nullptr) {
        HGDIOBJ old = std::exchange(m_object, object);
        if (old != nullptr)
            ::DeleteObject(old);
    }

private:
    HGDIOBJ m_object = nullptr;
};

// Keeps an object selected into a DC and selects the previous one back when it ends, so the object and
// the DC can then be deleted. Declare it after the DC and the object it selects.
class ScopedDCSelection {
public:
    ScopedDCSelection() = default;
    ScopedDCSelection(HDC dc, HGDIOBJ previous) : m_dc(dc), m_previous(previous) {}
    ScopedDCSelection(ScopedDCSelection&& other) noexcept
        : m_dc(std::exchange(other.m_dc, nullptr)), m_previous(std::exchange(other.m_previous, nullptr)) {}
    ScopedDCSelection& operator=(ScopedDCSelection&& other) noexcept {
        if (this != &other) {
            Reset();
            m_dc = std::exchange(other.m_dc, nullptr);
            m_previous = std::exchange(other.m_previous, nullptr);
        }
        return *this;
    }
    ScopedDCSelection(const ScopedDCSelection&) = delete;
    ScopedDCSelection& operator=(const ScopedDCSelection&) = delete;
    ~ScopedDCSelection() { Reset(); }

    void Reset() {
        if (m_dc != nullptr && m_previous != nullptr)
            ::SelectObject(m_dc, m_previous);
        m_dc = nullptr;
        m_previous = nullptr;
    }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// Owns an icon or cursor made at run time (CreateIconIndirect) or loaded by LoadImageW without LR_SHARED;
// destroyed with DestroyIcon.
class UniqueIcon {
public:
    UniqueIcon() = default;
    explicit UniqueIcon(HICON icon) : m_icon(icon) {}
    UniqueIcon(UniqueIcon&& other) noexcept : m_icon(std::exchange(other.m_icon, nullptr)) {}
    UniqueIcon& operator=(UniqueIcon&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_icon, nullptr));
        return *this;
    }
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;
    ~UniqueIcon() { Reset(); }

    HICON Get() const { return m_icon; }
    void Reset(HICON icon = nullptr) {
        HICON old = std::exchange(m_icon, icon);
        if (old != nullptr)
            ::DestroyIcon(old);
    }

private:
    HICON m_icon = nullptr;
};

// Owns a menu from CreatePopupMenu; a submenu belongs to its parent once appended (Release it then).
class UniqueMenu {
public:
    UniqueMenu() = default;
    explicit UniqueMenu(HMENU menu) : m_menu(menu) {}
    UniqueMenu(UniqueMenu&& other) noexcept : m_menu(std::exchange(other.m_menu, nullptr)) {}
    UniqueMenu& operator=(UniqueMenu&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_menu, nullptr));
        return *this;
    }
    UniqueMenu(const UniqueMenu&) = delete;
    UniqueMenu& operator=(const UniqueMenu&) = delete;
    ~UniqueMenu() { Reset(); }

    HMENU Get() const { return m_menu; }
    HMENU Release() { return std::exchange(m_menu, nullptr); }
    void Reset(HMENU menu = nullptr) {
        HMENU old = std::exchange(m_menu, menu);
        if (old != nullptr)
            ::DestroyMenu(old);
    }

private:
    HMENU m_menu = nullptr;
};

// Owns a window made with CreateWindowExW on this thread; destroyed with DestroyWindow when it still exists.
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND window) : m_window(window) {}
    UniqueWindow(UniqueWindow&& other) noexcept : m_window(std::exchange(other.m_window, nullptr)) {}
    UniqueWindow& operator=(UniqueWindow&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_window, nullptr));
        return *this;
    }
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() { Reset(); }

    HWND Get() const { return m_window; }
    void Reset(HWND window = nullptr) {
        HWND old = std::exchange(m_window, window);
        if (old != nullptr && ::IsWindow(old))
            ::DestroyWindow(old);
    }

private:
    HWND m_window = nullptr;
};

// Owns a desktop handle from OpenInputDesktop or OpenDesktop.
class UniqueDesktop {
public:
    UniqueDesktop() = default;
    explicit UniqueDesktop(HDESK desktop) : m_desktop(desktop) {}
    UniqueDesktop(UniqueDesktop&& other) noexcept : m_desktop(std::exchange(other.m_desktop, nullptr)) {}
    UniqueDesktop& operator=(UniqueDesktop&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_desktop, nullptr));
        return *this;
    }
    UniqueDesktop(const UniqueDesktop&) = delete;
    UniqueDesktop& operator=(const UniqueDesktop&) = delete;
    ~UniqueDesktop() { Reset(); }

    HDESK Get() const { return m_desktop; }
    void Reset(HDESK desktop = nullptr) {
        HDESK old = std::exchange(m_desktop, desktop);
        if (old != nullptr)
            ::CloseDesktop(old);
    }

private:
    HDESK m_desktop = nullptr;
};

// Owns a hook from SetWindowsHookExW.
class UniqueHook {
public:
    UniqueHook() = default;
    explicit UniqueHook(HHOOK hook) : m_hook(hook) {}
    UniqueHook(UniqueHook&& other) noexcept : m_hook(std::exchange(other.m_hook, nullptr)) {}
    UniqueHook& operator=(UniqueHook&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_hook, nullptr));
        return *this;
    }
    UniqueHook(const UniqueHook&) = delete;
    UniqueHook& operator=(const UniqueHook&) = delete;
    ~UniqueHook() { Reset(); }

    HHOOK Get() const { return m_hook; }
    explicit operator bool() const { return m_hook != nullptr; }
    void Reset(HHOOK hook = nullptr) {
        HHOOK old = std::exchange(m_hook, hook);
        if (old != nullptr)
            ::UnhookWindowsHookEx(old);
    }

private:
    HHOOK m_hook = nullptr;
};

// Owns the calling thread's multimedia class registration (AvSetMmThreadCharacteristicsW); reverted on the
// thread that registered it, so the owner must not cross threads.
class UniqueMmcssTask {
public:
    UniqueMmcssTask() = default;
    explicit UniqueMmcssTask(HANDLE task) : m_task(task) {}
    UniqueMmcssTask(UniqueMmcssTask&& other) noexcept : m_task(std::exchange(other.m_task, nullptr)) {}
    UniqueMmcssTask& operator=(UniqueMmcssTask&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_task, nullptr));
        return *this;
    }
    UniqueMmcssTask(const UniqueMmcssTask&) = delete;
    UniqueMmcssTask& operator=(const UniqueMmcssTask&) = delete;
    ~UniqueMmcssTask() { Reset(); }

    explicit operator bool() const { return m_task != nullptr; }
    void Reset(HANDLE task = nullptr) {
        HANDLE old = std::exchange(m_task, task);
        if (old != nullptr)
            ::AvRevertMmThreadCharacteristics(old);
    }

private:
    HANDLE m_task = nullptr;
};

// Owns a global memory block (GlobalAlloc) until it is handed over, for example to SetClipboardData, which
// takes ownership only when it succeeds.
class UniqueGlobal {
public:
    UniqueGlobal() = default;
    explicit UniqueGlobal(HGLOBAL memory) : m_memory(memory) {}
    UniqueGlobal(UniqueGlobal&& other) noexcept : m_memory(std::exchange(other.m_memory, nullptr)) {}
    UniqueGlobal& operator=(UniqueGlobal&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_memory, nullptr));
        return *this;
    }
    UniqueGlobal(const UniqueGlobal&) = delete;
    UniqueGlobal& operator=(const UniqueGlobal&) = delete;
    ~UniqueGlobal() { Reset(); }

    HGLOBAL Get() const { return m_memory; }
    explicit operator bool() const { return m_memory != nullptr; }
    HGLOBAL Release() { return std::exchange(m_memory, nullptr); }
    void Reset(HGLOBAL memory = nullptr) {
        HGLOBAL old = std::exchange(m_memory, memory);
        if (old != nullptr)
            ::GlobalFree(old);
    }

private:
    HGLOBAL m_memory = nullptr;
};

// The lock of a global memory block (GlobalLock) for the life of the object; Get() is null when it failed.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL memory) : m_memory(memory), m_data(::GlobalLock(memory)) {}
    ~ScopedGlobalLock() {
        if (m_data != nullptr)
            ::GlobalUnlock(m_memory);
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

    void* Get() const { return m_data; }

private:
    HGLOBAL m_memory;
    void* m_data;
};

// The clipboard opened (OpenClipboard) for the life of the object, closed again when it was opened.
class ScopedClipboard {
public:
    explicit ScopedClipboard(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~ScopedClipboard() {
        if (m_open)
            ::CloseClipboard();
    }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;

    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

// Owns a view from MapViewOfFile; ended with UnmapViewOfFile.
class UniqueMappedView {
public:
    UniqueMappedView() = default;
    explicit UniqueMappedView(void* view) : m_view(view) {}
    UniqueMappedView(UniqueMappedView&& other) noexcept : m_view(std::exchange(other.m_view, nullptr)) {}
    UniqueMappedView& operator=(UniqueMappedView&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_view, nullptr));
        return *this;
    }
    UniqueMappedView(const UniqueMappedView&) = delete;
    UniqueMappedView& operator=(const UniqueMappedView&) = delete;
    ~UniqueMappedView() { Reset(); }

    void* Get() const { return m_view; }
    explicit operator bool() const { return m_view != nullptr; }
    void Reset(void* view = nullptr) {
        void* old = std::exchange(m_view, view);
        if (old != nullptr)
            ::UnmapViewOfFile(old);
    }

private:
    void* m_view = nullptr;
};

// Owns a service-control-manager or service handle; ended with CloseServiceHandle.
class UniqueServiceHandle {
public:
    UniqueServiceHandle() = default;
    explicit UniqueServiceHandle(SC_HANDLE h) : m_handle(h) {}
    UniqueServiceHandle(UniqueServiceHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueServiceHandle& operator=(UniqueServiceHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    UniqueServiceHandle(const UniqueServiceHandle&) = delete;
    UniqueServiceHandle& operator=(const UniqueServiceHandle&) = delete;
    ~UniqueServiceHandle() { Reset(); }

    SC_HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(SC_HANDLE h = nullptr) {
        SC_HANDLE old = std::exchange(m_handle, h);
        if (old != nullptr)
            ::CloseServiceHandle(old);
    }

private:
    SC_HANDLE m_handle = nullptr;
};

// Owns an environment block from CreateEnvironmentBlock; ended with DestroyEnvironmentBlock.
class UniqueEnvironmentBlock {
public:
    UniqueEnvironmentBlock() = default;
    UniqueEnvironmentBlock(const UniqueEnvironmentBlock&) = delete;
    UniqueEnvironmentBlock& operator=(const UniqueEnvironmentBlock&) = delete;
    ~UniqueEnvironmentBlock() {
        if (m_block != nullptr)
            ::DestroyEnvironmentBlock(m_block);
    }

    void* Get() const { return m_block; }
    // For CreateEnvironmentBlock to fill; only on an empty owner.
    void** Receive() { return &m_block; }

private:
    void* m_block = nullptr;
};

// Owns memory handed out by the WTS functions; ended with WTSFreeMemory.
struct WtsFreeDeleter {
    void operator()(void* p) const { ::WTSFreeMemory(p); }
};
