#pragma once

#include <string>
#include <string_view>

// Wardlet's data folder: %ProgramData%\Marlo. A ProgramData value that is missing, or too long to leave room
// for a file name within the classic path limit, falls back to the usual location.
inline constexpr char16_t kDefaultProgramData[] = u"C:\\ProgramData";
inline constexpr size_t kProgramDataMaxLength = 259;

// The folder for a ProgramData value (empty when the variable is not set).
std::u16string DataFolderFromProgramData(std::u16string_view programData);
// A file in that folder.
std::u16string DataFolderFilePath(std::u16string_view folder, std::u16string_view name);
