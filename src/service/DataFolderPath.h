#pragma once

#include <optional>
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

// What the service learns about an existing data folder before it trusts it. A folder made by anyone but
// SYSTEM, Administrators or this process's own user could be read or swapped by them, and a reparse point
// could send SYSTEM's writes anywhere.
enum class DataFolderOwner { Unreadable, System, Administrators, OwnUser, Other };

struct DataFolderFacts {
    bool isFolder = false;
    bool isReparsePoint = false;
    DataFolderOwner owner = DataFolderOwner::Unreadable;
};

enum class DataFolderRefusal { CreateFailed, NotAFolder, ReparsePoint, OwnerUnreadable, ForeignOwner };

// Nothing when the existing folder may be used.
std::optional<DataFolderRefusal> CheckExistingDataFolder(const DataFolderFacts& facts);
// The reason as the refusal line names it.
const char* DataFolderRefusalText(DataFolderRefusal refusal);
