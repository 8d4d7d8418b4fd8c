#include "ini/profile_store.h"

#include <windows.h>

namespace profile {

int ReadInt(const char* section, const char* key, const char* path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, 0, path));
}

std::string ReadString(const char* section, const char* key, const char* path) {
    char value[255] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, path);
    return value;
}

bool WriteKey(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != 0;
}

bool DeleteKey(const char* section, const char* key, const char* path) {
    return WritePrivateProfileStringA(section, key, nullptr, path) != 0;
}

bool DeleteSection(const char* section, const char* path) {
    return WritePrivateProfileStringA(section, nullptr, nullptr, path) != 0;
}

}  // namespace profile
