#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/win/Handles.h"
#include "service/BmpHeader.h"
#include "service/win/WardletSupport.h"

namespace {

// Rows go out in chunks of about this size: one write per row would be one disk round trip per row with
// write-through.
constexpr size_t kChunkBytes = 1 << 20;

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    DWORD written = 0;
    if (!::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr))
        return false;
    if (written != size) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

bool WriteImage(HANDLE file, const BmpHeaderBytes& header, const uint8_t* pixels, int32_t height,
                size_t rowBytes, size_t stride) {
    std::vector<uint8_t> chunk;
    chunk.reserve(kChunkBytes + rowBytes);
    chunk.insert(chunk.end(), header.begin(), header.end());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels + size_t(y) * stride;
        chunk.insert(chunk.end(), row, row + rowBytes);
        if (chunk.size() >= kChunkBytes) {
            if (!WriteAll(file, chunk.data(), chunk.size()))
                return false;
            chunk.clear();
        }
    }
    return chunk.empty() || WriteAll(file, chunk.data(), chunk.size());
}

} // namespace

bool WriteBmpFile(const wchar_t* name, const uint8_t* pixels, int32_t width, int32_t height, int32_t stride) {
    const std::optional<BmpHeaderBytes> header = BuildBmpHeader(width, height, stride);
    if (!header || pixels == nullptr || name == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::wstring finalPath = DataFolderFile(name);
    const std::wstring temporary =
        DataFolderFile((L"secure_probe_" + std::to_wstring(::GetCurrentProcessId()) + L".tmp").c_str());
    if (finalPath.empty() || temporary.empty()) {
        // Not access denied: to the capture loop that would mean its desktop is not the input desktop.
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }

    UniqueHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file)
        return false;
    if (!WriteImage(file.Get(), *header, pixels, height, size_t(width) * 4, size_t(stride))) {
        const DWORD error = ::GetLastError();
        file.Reset();
        ::DeleteFileW(temporary.c_str());
        ::SetLastError(error);
        return false;
    }
    file.Reset();
    if (!::MoveFileExW(temporary.c_str(), finalPath.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        ::SetLastError(error);
        return false;
    }
    return true;
}
