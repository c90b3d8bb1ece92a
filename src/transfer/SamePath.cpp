#include "transfer/SamePath.h"

#include <string>

#include "core/Utf.h"

namespace {

std::u16string Normalised(std::u16string_view path) {
    std::u16string text(path);
    for (char16_t& c : text)
        if (c == u'/')
            c = u'\\';
    while (!text.empty() && (text.back() == u'\\' || text.back() == u' '))
        text.pop_back();
    return text;
}

} // namespace

bool IsSamePath(std::u16string_view a, std::u16string_view b) {
    if (a.empty() || b.empty())
        return false;
    return EqualsIgnoringCase(Normalised(a), Normalised(b));
}
