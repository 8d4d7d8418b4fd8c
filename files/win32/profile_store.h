// Every change KEPLIN makes to an INI file goes through here: the file is read,
// changed by our own profile writer (only the lines concerned) and saved by
// ReplaceFileContents. Values read by key come from the platform's
// private-profile service. Each call names the file by full path (a bare name
// means the Windows directory, as for the platform). Results: nonzero on
// success; no call shows a message.
#pragma once
#include <string>

namespace profile {

int ReadInt(const char* section, const char* key, const char* path);
std::string ReadString(const char* section, const char* key, const char* path);
bool WriteKey(const char* section, const char* key, const char* value, const char* path);
bool DeleteKey(const char* section, const char* key, const char* path);
bool DeleteSection(const char* section, const char* path);

}  // namespace profile
