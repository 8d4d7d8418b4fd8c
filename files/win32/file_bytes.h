// Reading a file's bytes, whole or a piece at a time: the one reader that
// every part of the program uses for its files.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace files {

enum class ReadResult { Read, Missing, CannotOpen, CannotRead };

// A path in the program's code page as the wide calls take it; beyond the
// platform's limit (the names KEPLIN gives files of its own beside a file
// near that limit), in the extended form "\\?\C:\...".
std::wstring WidePath(const std::string& path);

// Text in the program's code page as the wide calls take it.
std::wstring WideOfCodePage(const std::string& text);

// A wide path in the program's code page, exactly: nothing when a character
// would be lost or replaced (a lone surrogate, a character the code page
// cannot hold), so that the narrow path names the same file.
std::optional<std::string> NarrowPath(const std::wstring& wide);

// Every byte of the file open as file, from its start.
bool ReadBytes(HANDLE file, std::string& bytes);

// Every byte of the file at path. Missing: there is no such file (or folder
// on its way); CannotOpen: it is there but cannot be opened (a folder, no
// access); CannotRead: a read failed.
ReadResult ReadFileBytes(const std::wstring& path, std::string& bytes);
ReadResult ReadFileBytes(const std::string& path, std::string& bytes);

// The same bytes, given to take a piece at a time, for a file that need not
// be held whole. A failure may come after some pieces were taken.
ReadResult ReadFilePieces(const std::string& path, const std::function<void(std::string_view)>& take);

}  // namespace files
