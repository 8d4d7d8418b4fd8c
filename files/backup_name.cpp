#include "files/backup_name.h"

#include <algorithm>

namespace files {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    auto fold = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

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
    if (EqualIgnoringCase(path, iniFullPath)) return std::nullopt;
    return path;
}

}  // namespace files
