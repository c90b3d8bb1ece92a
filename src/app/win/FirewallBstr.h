#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>
#include <utility>

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
