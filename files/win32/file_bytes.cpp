#include "files/win32/file_bytes.h"

namespace files {

namespace {

const DWORD kChunk = 1 << 20;

}  // namespace

std::wstring WideOfCodePage(const std::string& text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::optional<std::string> NarrowPath(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    // UTF-8 takes neither flag nor default-character report: the read back
    // below finds what it could not hold.
    const bool unicode = GetACP() == CP_UTF8;
    const DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* defaulted = unicode ? nullptr : &usedDefault;
    const int units = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, flags, wide.data(), units, nullptr, 0, nullptr, defaulted);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string path(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), units, &path[0], size, nullptr, defaulted);
    std::wstring back(wide.size(), L'\0');
    const int read = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), size, &back[0], units);
    if (read != units || back != wide) return std::nullopt;
    return path;
}

std::wstring WidePath(const std::string& path) {
    const std::wstring wide = WideOfCodePage(path);
    if (wide.size() < MAX_PATH || wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return wide;
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(wide.c_str(), length, &full[0], nullptr);
    full.resize(length);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

namespace {

// The size of the file open as file, its place set to its start; false when
// it is too large for one string.
bool RewoundSize(HANDLE file, size_t& total) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) return false;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    total = static_cast<size_t>(size.QuadPart);
    return true;
}

// Reads total bytes, at most kChunk at a time: each piece into at(done), the
// bytes read so far, then given to took. False when a read fails or comes
// short.
template <typename At, typename Took>
bool ReadPieces(HANDLE file, size_t total, At at, Took took) {
    for (size_t done = 0; done < total;) {
        const DWORD want = static_cast<DWORD>(total - done < kChunk ? total - done : kChunk);
        DWORD got = 0;
        char* piece = at(done);
        if (!ReadFile(file, piece, want, &got, nullptr) || got == 0) return false;
        took(std::string_view(piece, got));
        done += got;
    }
    return true;
}

// Opens the file at path to read it; the result when it cannot.
ReadResult OpenToRead(const std::wstring& path, HANDLE& file) {
    file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return ReadResult::Read;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                          : ReadResult::CannotOpen;
}

}  // namespace

bool ReadBytes(HANDLE file, std::string& bytes) {
    size_t total;
    if (!RewoundSize(file, total)) return false;
    bytes.resize(total);
    return ReadPieces(file, total, [&](size_t done) { return &bytes[done]; }, [](std::string_view) {});
}

ReadResult ReadFileBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    HANDLE file;
    const ReadResult opened = OpenToRead(path, file);
    if (opened != ReadResult::Read) return opened;
    const bool read = ReadBytes(file, bytes);
    CloseHandle(file);
    if (!read) bytes.clear();
    return read ? ReadResult::Read : ReadResult::CannotRead;
}

ReadResult ReadFileBytes(const std::string& path, std::string& bytes) { return ReadFileBytes(WidePath(path), bytes); }

ReadResult ReadFilePieces(const std::string& path, const std::function<void(std::string_view)>& take) {
    HANDLE file;
    const ReadResult opened = OpenToRead(WidePath(path), file);
    if (opened != ReadResult::Read) return opened;
    // One buffer, used again for every piece: pages the size of the whole
    // file, each touched once, cost more than the reading itself.
    size_t total;
    bool read = RewoundSize(file, total);
    if (read) {
        std::string piece(total < kChunk ? total : kChunk, '\0');
        read = ReadPieces(file, total, [&](size_t) { return &piece[0]; }, take);
    }
    CloseHandle(file);
    return read ? ReadResult::Read : ReadResult::CannotRead;
}

}  // namespace files
