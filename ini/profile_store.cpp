#include "ini/profile_store.h"

#include <windows.h>

namespace profile {

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
    return WritePrivateProfileStringA(section, key, value, path) != 0;
}

bool DeleteKey(const char* section, const char* key, const char* path) {
    return WritePrivateProfileStringA(section, key, nullptr, path) != 0;
}

bool DeleteSection(const char* section, const char* path) {
    return WritePrivateProfileStringA(section, nullptr, nullptr, path) != 0;
}

}  // namespace profile
