#pragma once

#include <winsock2.h>
#include <windows.h>
#include <setupapi.h>

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

// Frees a LocalAlloc'ed block, as FormatMessage and a few security calls hand out.
struct LocalFreeDeleter {
    void operator()(void* p) const { ::LocalFree(p); }
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
