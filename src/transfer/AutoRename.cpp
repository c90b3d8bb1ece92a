#include "transfer/AutoRename.h"

#include <cstdio>

namespace {

constexpr int kMaxNumberedName = 9999;

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text != '\0'; ++text)
        out += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return out;
}

} // namespace

std::u16string AutoRenameTarget(std::u16string_view path, const PathExistsFn& exists,
                                const LocalClockFn& now) {
    if (!exists(path))
        return std::u16string(path);
    size_t slash = path.find_last_of(u"\\/");
    size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    std::u16string_view parent = path.substr(0, nameStart); // with its separator
    std::u16string_view name = path.substr(nameStart);
    size_t dot = name.rfind(u'.');
    if (dot == 0 || name == u"..")
        dot = std::u16string_view::npos;
    std::u16string_view stem = name.substr(0, dot);
    std::u16string_view extension =
        dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);

    auto candidate = [&](const std::u16string& suffix) {
        std::u16string out(parent);
        out += stem;
        out += suffix;
        out += extension;
        return out;
    };
    char text[64];
    for (int n = 1; n <= kMaxNumberedName; ++n) {
        std::snprintf(text, sizeof text, " (%d)", n);
        std::u16string next = candidate(Ascii(text));
        if (!exists(next))
            return next;
    }
    LocalTimeStamp t = now();
    std::snprintf(text, sizeof text, "_%04u%02u%02u_%02u%02u%02u_%03u", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.milliseconds);
    return candidate(Ascii(text));
}
