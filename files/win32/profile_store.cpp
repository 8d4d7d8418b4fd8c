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

// What an edit of a file's text did.
enum class Edit { Refused, Unchanged, Changed };

// An edit is given the file's text and, in changed, its encoding; when it
// changes anything it puts the new text (and encoding) into changed.
using Editor = std::function<Edit(std::string_view text, ini::FileText& changed)>;

// Reads the file, edits its text (or its encoding) and saves the result in
// the file's encoding, safely, as the named change: the file is read once,
// under the handle that writes it, and bytes that are their own text (ASCII,
// UTF-8) are edited where they lie, not copied. An edit that leaves the
// text as it was writes nothing.
bool ChangeFile(const char* path, const char* name, const files::Concerned& concerned, const Editor& edit) {
    const std::string file = ResolvedPath(path);
    if (!RecoverInterruptedReplace(file.c_str())) return false;
    Edit done = Edit::Refused;
    ini::Encoding encoding = ini::Encoding::Ansi;
    std::optional<std::string> bytes;
    const auto rewrite = [&](const std::string& old) -> const std::string* {
        ini::FileText changed;
        std::string decoded;
        std::string_view text = old;
        if (const std::optional<ini::Encoding> same = ini::EncodingOfBytesThatAreText(old)) {
            changed.encoding = *same;
        } else {
            ini::FileText read = files::TextOf(old);
            changed.encoding = read.encoding;
            changed.oddByte = std::move(read.oddByte);
            decoded = std::move(read.text);
            text = decoded;
        }
        done = edit(text, changed);
        if (done != Edit::Changed) return nullptr;
        encoding = changed.encoding;
        bytes = files::FileBytesOf(std::move(changed));
        return bytes ? &*bytes : nullptr;
    };
    std::string replaced;
    const Replaced result = RewriteFile(file.c_str(), rewrite, &replaced);
    if (done == Edit::Unchanged) return true;
    if (result != Replaced::Written) return false;
    files::NoteFileKind(file, ini::FileText{encoding, {}, {}});
    if (name != nullptr) files::RecordChange(file, name, concerned, replaced, *bytes);
    return true;
}

// An edit made by a change of the text alone.
template <typename Change>
Editor TextEdit(Change change) {
    return [change](std::string_view text, ini::FileText& changed) {
        std::optional<std::string> result = change(text);
        if (!result) return Edit::Refused;
        if (*result == text) return Edit::Unchanged;
        changed.text = std::move(*result);
        return Edit::Changed;
    };
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
    ini::FileText kind;
    switch (files::ReadFileKind(file, kind)) {
    case files::ReadResult::Read:
    case files::ReadResult::Missing: break;
    default:                         return "";
    }
    std::string typed;
    for (const char* part : texts) typed += part;
    return files::WhyNotWritable(base::SplitIniPath(file).fileName, kind, typed);
}

bool WriteKey(const char* section, const char* key, const char* value, const char* path, const char* change) {
    return ChangeFile(path, change, {section, key},
                      TextEdit([&](std::string_view text) { return ini::WriteProfileKey(text, section, key, value); }));
}

bool DeleteKey(const char* section, const char* key, const char* path, const char* change) {
    return ChangeFile(path, change, {section, key},
                      TextEdit([&](std::string_view text) { return ini::DeleteProfileKey(text, section, key); }));
}

bool DeleteSection(const char* section, const char* path, const char* change) {
    return ChangeFile(path, change, {section, ""},
                      TextEdit([&](std::string_view text) { return ini::DeleteProfileSection(text, section); }));
}

bool ConvertEncoding(const char* path, ini::Encoding encoding, const char* change) {
    return ChangeFile(path, change, {"", ""}, [encoding](std::string_view text, ini::FileText& changed) {
        if (changed.encoding == encoding) return Edit::Unchanged;
        changed.encoding = encoding;
        changed.text = std::string(text);
        return Edit::Changed;
    });
}

bool ChangeText(const char* path, const char* change, const files::Concerned& concerned,
                const std::function<std::optional<std::string>(std::string_view)>& edit) {
    return ChangeFile(path, change, concerned, TextEdit(edit));
}

}  // namespace profile
