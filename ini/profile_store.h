// Every change to an INI file, and every value read by key, goes through the
// platform's private-profile service. Each call names the file by full path.
// Results: nonzero on success; no call shows a message.
#pragma once
#include <string>

namespace profile {

int ReadInt(const char* section, const char* key, const char* path);
std::string ReadString(const char* section, const char* key, const char* path);
bool WriteKey(const char* section, const char* key, const char* value, const char* path);
bool DeleteKey(const char* section, const char* key, const char* path);
bool DeleteSection(const char* section, const char* path);

}  // namespace profile
