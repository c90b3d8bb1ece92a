#include "transfer/SafeRelativePath.h"

#include "core/Utf.h"

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

bool IsForbiddenCharacter(char16_t c) {
    return c < 0x20 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*' ||
           c == u':';
}

// Port numbers: 0-9 and the superscript digits, which Windows also opens as devices ("COM¹").
bool IsPortDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

// Windows resolves a device name whatever follows its first dot, and ignores spaces before that dot.
bool IsDeviceName(std::u16string_view component) {
    std::u16string_view base = component.substr(0, component.find(u'.'));
    while (!base.empty() && base.back() == u' ')
        base.remove_suffix(1);
    for (std::u16string_view name : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
        if (EqualsIgnoringCase(base, name))
            return true;
    if (base.size() == 4 && IsPortDigit(base[3]))
        return EqualsIgnoringCase(base.substr(0, 3), u"COM") || EqualsIgnoringCase(base.substr(0, 3), u"LPT");
    return false;
}

bool IsSafeComponent(std::u16string_view component) {
    if (component.empty() || component.back() == u'.' || component.back() == u' ')
        return false; // also "." and ".."
    for (char16_t c : component)
        if (IsForbiddenCharacter(c))
            return false;
    return !IsDeviceName(component);
}

} // namespace

bool IsSafeRelativePath(std::u16string_view path) {
    if (path.empty() || IsSeparator(path.front()))
        return false;
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (!IsSafeComponent(path.substr(start, end - start)))
            return false;
        if (end == path.size())
            return true;
        start = end + 1;
    }
}
