#include "service/DataFolderPath.h"

std::u16string DataFolderFromProgramData(std::u16string_view programData) {
    std::u16string folder(programData.empty() || programData.size() > kProgramDataMaxLength
                              ? std::u16string_view(kDefaultProgramData)
                              : programData);
    folder += u"\\Marlo";
    return folder;
}

std::u16string DataFolderFilePath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    path += u'\\';
    path += name;
    return path;
}

std::optional<DataFolderRefusal> CheckExistingDataFolder(const DataFolderFacts& facts) {
    if (!facts.isFolder)
        return DataFolderRefusal::NotAFolder;
    if (facts.isReparsePoint)
        return DataFolderRefusal::ReparsePoint;
    switch (facts.owner) {
    case DataFolderOwner::System:
    case DataFolderOwner::Administrators:
    case DataFolderOwner::OwnUser:
        return std::nullopt;
    case DataFolderOwner::Unreadable:
        return DataFolderRefusal::OwnerUnreadable;
    case DataFolderOwner::Other:
        break;
    }
    return DataFolderRefusal::ForeignOwner;
}

const char* DataFolderRefusalText(DataFolderRefusal refusal) {
    switch (refusal) {
    case DataFolderRefusal::CreateFailed:
        return "create_failed";
    case DataFolderRefusal::NotAFolder:
        return "not_a_folder";
    case DataFolderRefusal::ReparsePoint:
        return "reparse_point";
    case DataFolderRefusal::OwnerUnreadable:
        return "owner_unreadable";
    case DataFolderRefusal::ForeignOwner:
        return "foreign_owner";
    }
    return "unknown";
}
