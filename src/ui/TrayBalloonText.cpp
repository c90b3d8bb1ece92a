#include "ui/TrayBalloonText.h"

#include "core/Utf.h"
#include "ui/MainWindowTitle.h"

std::u16string_view FitTrayField(std::u16string_view text, size_t capacity) {
    return capacity == 0 ? std::u16string_view() : HeadUtf16(text, capacity - 1);
}

std::u16string TrayTipText() {
    return Utf8ToUtf16(std::string(kTitleProductWord) + "  " + kTitleVersion);
}

std::u16string TrayBalloonTitle() {
    return Utf8ToUtf16(kTitleProductWord);
}
