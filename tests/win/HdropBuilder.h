#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

// A shell drop handle as Explorer hands it over: a DROPFILES header, then the names, each ended by a NUL,
// and one more NUL. The receiver frees it with DragFinish.
inline HDROP MakeHdrop(const std::vector<std::wstring>& names, POINT point, bool nonClient) {
    size_t chars = 1;
    for (const std::wstring& name : names)
        chars += name.size() + 1;
    const size_t bytes = sizeof(DROPFILES) + chars * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (memory == nullptr)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = nonClient ? TRUE : FALSE;
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const std::wstring& name : names) {
        memcpy(text, name.c_str(), name.size() * sizeof(wchar_t));
        text += name.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
