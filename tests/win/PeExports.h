#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestPaths.h"

// The names in the export table of a PE file, read from the file itself (no loader involved: an .exe
// cannot be loaded beside the running one). Empty when the file is missing or holds no export table.
inline std::vector<std::string> PeExportNames(const std::wstring& path) {
    const std::string file = ReadWholeFile(path);
    auto in = [&](size_t offset, size_t size) {
        return offset <= file.size() && size <= file.size() - offset;
    };
    auto at = [&](size_t offset) { return file.data() + offset; };
    std::vector<std::string> names;
    if (!in(0, sizeof(IMAGE_DOS_HEADER)))
        return names;
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, at(0), sizeof dos);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || !in(dos.e_lfanew, sizeof(IMAGE_NT_HEADERS64)))
        return names;
    IMAGE_NT_HEADERS64 nt;
    std::memcpy(&nt, at(dos.e_lfanew), sizeof nt);
    if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC ||
        nt.OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_EXPORT)
        return names;
    const size_t sections =
        dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
    // File offset of an RVA, through the section that holds it; 0 when none does.
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            if (!in(sections + i * sizeof section, sizeof section))
                return 0;
            std::memcpy(&section, at(sections + i * sizeof section), sizeof section);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };
    const DWORD exportRva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    const size_t directoryAt = exportRva ? offsetOf(exportRva) : 0;
    if (directoryAt == 0 || !in(directoryAt, sizeof(IMAGE_EXPORT_DIRECTORY)))
        return names;
    IMAGE_EXPORT_DIRECTORY directory;
    std::memcpy(&directory, at(directoryAt), sizeof directory);
    const size_t nameTable = offsetOf(directory.AddressOfNames);
    for (DWORD i = 0; nameTable != 0 && i < directory.NumberOfNames; ++i) {
        DWORD nameRva = 0;
        if (!in(nameTable + i * sizeof nameRva, sizeof nameRva))
            break;
        std::memcpy(&nameRva, at(nameTable + i * sizeof nameRva), sizeof nameRva);
        const size_t nameAt = offsetOf(nameRva);
        if (nameAt == 0 || !in(nameAt, 1))
            continue;
        names.emplace_back(at(nameAt), strnlen(at(nameAt), file.size() - nameAt));
    }
    return names;
}
