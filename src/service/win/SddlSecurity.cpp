#include "service/win/SddlSecurity.h"

#include <sddl.h>

#include "core/win/TextConvert.h"

SddlSecurity::SddlSecurity(const char16_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (sddl != nullptr && ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                               AsWide(sddl).c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        m_descriptor.reset(descriptor);
    m_attributes.nLength = sizeof m_attributes;
    m_attributes.lpSecurityDescriptor = m_descriptor.get();
    m_attributes.bInheritHandle = FALSE;
}
