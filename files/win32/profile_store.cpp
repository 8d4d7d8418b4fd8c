#include "files/win32/profile_store.h"

#include <windows.h>

#include <optional>

#include "files/win32/file_bytes.h"
#include "files/win32/safe_replace.h"
#include "ini/profile_writer.h"

namespace profile {

namespace {

// A bare file name means a file in the Windows directory, as it does to the
// platform's profile calls.
std::string ResolvedPath(const char* path) {
    std::string name = path;
    if (name.find_first_of("\\/:") != std::string::npos) return name;
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return name;
    return std::string(windows) + "\\" + name;
}

// The file's bytes; empty text for a file that does not exist yet.
std::optional<std::string> ReadText(const std::string& path) {
    std::string bytes;
    switch (files::ReadFileBytes(path, bytes)) {
    case files::ReadResult::Read:
    case files::ReadResult::Missing: return bytes;
    default:                         return std::nullopt;
    }
}

// Reads the file, applies the change and saves the result safely. A change
// that leaves the text as it was writes nothing.
template <typename Change>
bool ChangeFile(const char* path, Change change) {
    const std::string file = ResolvedPath(path);
    if (!RecoverInterruptedReplace(file.c_str())) return false;
    std::optional<std::string> text = ReadText(file);
    if (!text) return false;
    std::optional<std::string> changed = change(*text);
    if (!changed) return false;
    if (*changed == *text) return true;
    return ReplaceFileContents(file.c_str(), *changed);
}

}  // namespace

int ReadInt(const char* section, const char* key, const char* path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, 0, path));
}

std::string ReadString(const char* section, const char* key, const char* path) {
    // The whole value, however long: a path cut short would name another file.
    std::string value(256, '\0');
    for (;;) {
        DWORD got = GetPrivateProfileStringA(section, key, "", &value[0], static_cast<DWORD>(value.size()), path);
        if (got + 1 < value.size()) {
            value.resize(got);
            return value;
        }
        value.assign(value.size() * 2, '\0');
    }
}

bool WriteKey(const char* section, const char* key, const char* value, const char* path) {
    return ChangeFile(path, [&](const std::string& text) { return ini::WriteProfileKey(text, section, key, value); });
}

bool DeleteKey(const char* section, const char* key, const char* path) {
    return ChangeFile(path, [&](const std::string& text) { return ini::DeleteProfileKey(text, section, key); });
}

bool DeleteSection(const char* section, const char* path) {
    return ChangeFile(path, [&](const std::string& text) { return ini::DeleteProfileSection(text, section); });
}

}  // namespace profile
