#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/LogPlatform.h"

// Whether something (file or folder) exists under a path; a path whose state cannot be read counts as free.
using PathExistsFn = std::function<bool(std::u16string_view path)>;
using LocalClockFn = std::function<LocalTimeStamp()>;

// A name beside path that is not taken yet, for a received file that must not replace what is there:
// path itself when free, else "stem (N).ext" for the first free N in 1..9999 (the extension is what follows
// the last dot; a name that is only a leading dot, such as ".profile", has none), else
// "stem_YYYYMMDD_hhmmss_mmm.ext" from the local clock, returned without a further test.
std::u16string AutoRenameTarget(std::u16string_view path, const PathExistsFn& exists,
                                const LocalClockFn& now);
