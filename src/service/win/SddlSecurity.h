#pragma once

#include <windows.h>

#include <memory>

#include "core/win/Handles.h"

// Security attributes built from a descriptor text for the named objects Wardlet creates. When the text
// cannot be converted, Get gives null and the object gets the default security (the creator's).
class SddlSecurity {
public:
    explicit SddlSecurity(const char16_t* sddl);
    SddlSecurity(const SddlSecurity&) = delete;
    SddlSecurity& operator=(const SddlSecurity&) = delete;

    SECURITY_ATTRIBUTES* Get() { return m_descriptor ? &m_attributes : nullptr; }

private:
    std::unique_ptr<void, LocalFreeDeleter> m_descriptor;
    SECURITY_ATTRIBUTES m_attributes = {};
};
