// Changes to INI files by section and key: the file's text is read in its own
// encoding, changed by our own profile writer (only the lines concerned),
// written back in that encoding and saved by ReplaceFileContents. Strings are
// read by key from the same text with the platform reader's rules; integers
// (the preferences) by the platform's own call. Each call names the file by
// full path (a bare name means the Windows directory, as for the platform).
// Results: nonzero on success; no call shows a message.
#pragma once
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "files/change_history.h"
#include "ini/encoding.h"

namespace profile {

// The preferences file, QUENTARO.INI beside the program (ProgramDirectory).
std::string PreferencesFile();

int ReadInt(const char* section, const char* key, const char* path);
std::string ReadString(const char* section, const char* key, const char* path);
// Why the texts (a section, a key, a value the user typed) cannot be written
// into the file faithfully, as a message; empty when they can. Asked before
// anything is written, the backup included.
std::string CannotWrite(const char* path, std::initializer_list<const char*> texts);
// change, when given, names the change as Undo will offer to take it back
// ("Delete Section [Colors]"): a change to the current file that the user
// made. Writes without a name (preferences, a backup's record) are not
// part of the history.
bool WriteKey(const char* section, const char* key, const char* value, const char* path,
              const char* change = nullptr);
bool DeleteKey(const char* section, const char* key, const char* path, const char* change = nullptr);
bool DeleteSection(const char* section, const char* path, const char* change = nullptr);
// Writes the whole file anew in another encoding, its text unchanged. Ask
// files::WhyNotConvertible first.
bool ConvertEncoding(const char* path, ini::Encoding encoding, const char* change);

// Any change to the file's text as a whole: edit gives the new text for the
// text read (nothing refuses the change), saved and recorded as one change
// named change, about concerned.
bool ChangeText(const char* path, const char* change, const files::Concerned& concerned,
                const std::function<std::optional<std::string>(std::string_view)>& edit);

}  // namespace profile
