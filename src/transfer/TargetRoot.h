#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Which folder a received transfer goes to. The facts come from the system through these functions.
struct TargetRootFacts {
    enum class PathKind { Missing, File, Folder };

    // The folder (or file) under the mouse cursor as the cursor-path monitor sees it now ("" when none).
    std::function<std::u16string()> cursorPath;
    // An environment variable; nullopt when it is not set.
    std::function<std::optional<std::u16string>(const char* name)> environment;
    std::function<PathKind(const std::u16string& path)> pathKind;
    std::function<std::u16string()> currentDirectory;
};

struct TargetRootChoice {
    std::u16string root;
    const char* source = "cursor/default"; // "payload" when the begin named the folder
};

// The payload's folder when it names one; else the folder under the cursor (the parent folder when the
// cursor is over a file); else USERPROFILE\Desktop (USERPROFILE of at most 259 characters), or the current
// directory without one. The caller creates the folder.
TargetRootChoice ResolveTargetRoot(std::string_view targetPathUtf8, const TargetRootFacts& facts);

// The folder that holds path ("" when the path has no separator). A drive root keeps its separator.
std::u16string ParentFolder(std::u16string_view path);
