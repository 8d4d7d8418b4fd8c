#include "files/win32/profile_store.h"

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <utility>

#include "base/path_rules.h"
#include "base/win32/records.h"
#include "files/win32/file_history.h"
#include "files/win32/file_text.h"
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

// The file's text; empty UTF-8 text for a file that does not exist yet.
std::optional<ini::FileText> ReadText(const std::string& path) {
    ini::FileText file;
    switch (files::ReadFileText(path, file)) {
    case files::ReadResult::Read:
    case files::ReadResult::Missing: return file;
    default:                         return std::nullopt;
    }
}

// The file's text, after a write cut short was settled; nothing when the
// file cannot be read.
std::optional<ini::FileText> TextToChange(const std::string& file) {
    if (!RecoverInterruptedReplace(file.c_str())) return std::nullopt;
    return ReadText(file);
}

// Saves the text in its encoding, safely, as the named change.
bool Save(const std::string& file, const char* name, const files::Concerned& concerned, ini::FileText&& text) {
    std::optional<std::string> bytes = files::FileBytesOf(std::move(text));
    std::string replaced;
    if (!bytes || !ReplaceFileContents(file.c_str(), *bytes, &replaced)) return false;
    if (name != nullptr) files::RecordChange(file, name, concerned, replaced, *bytes);
    return true;
}

// Reads the file, applies the change to its text and saves the result, in
// the file's own encoding, safely. A change that leaves the text as it was
// writes nothing.
template <typename Change>
bool ChangeFile(const char* path, const char* name, const files::Concerned& concerned, Change change) {
    const std::string file = ResolvedPath(path);
    std::optional<ini::FileText> text = TextToChange(file);
    if (!text) return false;
    std::optional<std::string> changed = change(text->text);
    if (!changed) return false;
    if (*changed == text->text) return true;
    text->text = std::move(*changed);
    return Save(file, name, concerned, std::move(*text));
}

}  // namespace

std::string PreferencesFile() { return std::string(ProgramDirectory) + "\\QUENTARO.INI"; }

int ReadInt(const char* section, const char* key, const char* path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, 0, path));
}

std::string ReadString(const char* section, const char* key, const char* path) {
    // Read as it was written, in the file's own encoding: the platform would
    // read a file of the ANSI code page in the program's, UTF-8.
    std::optional<ini::FileText> text = ReadText(ResolvedPath(path));
    return text ? ini::ReadProfileString(text->text, section, key).value_or("") : "";
}

std::string CannotWrite(const char* path, std::initializer_list<const char*> texts) {
    const std::string file = ResolvedPath(path);
    std::optional<ini::FileText> text = ReadText(file);
    if (!text) return "";
    std::string typed;
    for (const char* part : texts) typed += part;
    return files::WhyNotWritable(base::SplitIniPath(file).fileName, *text, typed);
}

bool WriteKey(const char* section, const char* key, const char* value, const char* path, const char* change) {
    return ChangeFile(path, change, {section, key},
                      [&](const std::string& text) { return ini::WriteProfileKey(text, section, key, value); });
}

bool DeleteKey(const char* section, const char* key, const char* path, const char* change) {
    return ChangeFile(path, change, {section, key},
                      [&](const std::string& text) { return ini::DeleteProfileKey(text, section, key); });
}

bool DeleteSection(const char* section, const char* path, const char* change) {
    return ChangeFile(path, change, {section, ""},
                      [&](const std::string& text) { return ini::DeleteProfileSection(text, section); });
}

bool ConvertEncoding(const char* path, ini::Encoding encoding, const char* change) {
    const std::string file = ResolvedPath(path);
    std::optional<ini::FileText> text = TextToChange(file);
    if (!text) return false;
    if (text->encoding == encoding) return true;
    text->encoding = encoding;
    return Save(file, change, {"", ""}, std::move(*text));
}

bool ChangeText(const char* path, const char* change, const files::Concerned& concerned,
                const std::function<std::optional<std::string>(const std::string&)>& edit) {
    return ChangeFile(path, change, concerned, edit);
}

}  // namespace profile
