#include "test_files.h"

#include <windows.h>

#include <cstdio>

namespace testfiles {

std::string Encoded(const std::string& text, const std::string& encoding) {
    if (encoding == "utf8") return text;
    if (encoding == "utf8-mark") return "\xEF\xBB\xBF" + text;
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    if (encoding == "utf16le") {
        std::string bytes = "\xFF\xFE";
        for (wchar_t unit : wide) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        return bytes;
    }
    const UINT codePage = static_cast<UINT>(std::stoul(encoding));
    std::string bytes(static_cast<size_t>(wide.size() * 2 + 1), '\0');
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, &bytes[0], static_cast<int>(bytes.size()),
                                           nullptr, nullptr);
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

std::string ExeDirectory() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

ScratchFolder::ScratchFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string base = std::string(temp) + "keplin-window-tests";
    CreateDirectoryA(base.c_str(), nullptr);
    path_ = base + "\\" + name;
    DeleteTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { DeleteTree(path_); }

static bool Write(const std::string& path, const std::string& bytes, const char* mode) {
    FILE* file = std::fopen(path.c_str(), mode);
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool WriteBytes(const std::string& path, const std::string& bytes) { return Write(path, bytes, "wb"); }
bool AppendBytes(const std::string& path, const std::string& bytes) { return Write(path, bytes, "ab"); }

std::string ReadBytes(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "<missing>";
    std::string bytes;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void DeleteTree(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") DeleteTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace testfiles
