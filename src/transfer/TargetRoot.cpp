#include "transfer/TargetRoot.h"

#include "core/Utf.h"

namespace {

constexpr size_t kMaxProfileChars = 259;

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::u16string DefaultFolder(const TargetRootFacts& facts) {
    std::optional<std::u16string> profile = facts.environment("USERPROFILE");
    if (!profile || profile->empty() || profile->size() > kMaxProfileChars)
        return facts.currentDirectory();
    std::u16string folder = *profile;
    if (!IsSeparator(folder.back()))
        folder += u'\\';
    return folder + u"Desktop";
}

} // namespace

std::u16string ParentFolder(std::u16string_view path) {
    const size_t cut = path.find_last_of(u"\\/");
    if (cut == std::u16string_view::npos)
        return {};
    // "C:\a.txt" lives in "C:\", not in "C:" (the drive's current directory).
    const bool driveRoot = cut == 2 && path[1] == u':';
    return std::u16string(path.substr(0, driveRoot || cut == 0 ? cut + 1 : cut));
}

TargetRootChoice ResolveTargetRoot(std::string_view targetPathUtf8, const TargetRootFacts& facts) {
    if (!targetPathUtf8.empty())
        return {Utf8ToUtf16(targetPathUtf8), "payload"};
    std::u16string cursor = facts.cursorPath();
    if (!cursor.empty() && facts.pathKind(cursor) == TargetRootFacts::PathKind::File)
        cursor = ParentFolder(cursor);
    if (!cursor.empty())
        return {cursor, "cursor/default"};
    return {DefaultFolder(facts), "cursor/default"};
}
