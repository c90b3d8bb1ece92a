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
