#include "files/backup_name.h"

#include "base/path_rules.h"

namespace files {

std::string BackupFileName(std::string_view fileName) {
    std::string name(fileName);
    const std::size_t i = name.find_last_of("iI");
    if (i != std::string::npos)
        name[i] = 'B';
    else if (!name.empty())
        name.back() = 'b';
    return name;
}

std::optional<std::string> BackupPath(std::string_view programDirectory,
                                      std::string_view fileName,
                                      std::string_view iniFullPath) {
    std::string path(programDirectory);
    path += '\\';
    path += BackupFileName(fileName);
    // Copying a file onto itself would empty it before it is read.
    if (base::EqualIgnoringCase(path, iniFullPath)) return std::nullopt;
    return path;
}

}  // namespace files
