// Files the window tests make for themselves: a scratch folder per test, INI
// files written byte for byte, and reading them back.
#pragma once
#include <cstddef>
#include <string>

namespace testfiles {

// Directory of the running test program, without a trailing backslash.
// keplin.exe is built beside it, and in-process runs keep QUENTARO.INI there.
std::string ExeDirectory();

// The program built beside the test program.
inline std::string KeplinExe() { return ExeDirectory() + "\\keplin.exe"; }
// The program's preferences file, which it keeps beside its executable.
inline std::string PreferencesFile() { return ExeDirectory() + "\\QUENTARO.INI"; }

// A fresh, empty folder for one test under %TEMP%; removed by Remove().
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Full Windows path of a file in the folder.
    std::string operator/(const std::string& fileName) const { return path_ + "\\" + fileName; }

private:
    std::string path_;
};

// Writes exactly these bytes (no line-end translation); true on success.
bool WriteBytes(const std::string& path, const std::string& bytes);
bool AppendBytes(const std::string& path, const std::string& bytes);
// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
void DeleteTree(const std::string& path);

// The bytes of a literal that may hold NULs.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// A file's text in UTF-8, as the tests write it, turned into the bytes of an
// encoding: "utf8", "utf8-mark", "utf16le" (each with its mark) or a code
// page number.
std::string Encoded(const std::string& text, const std::string& encoding);

// What the program's backup of a file of these bytes at this path holds.
inline std::string BackupOf(const std::string& bytes, const std::string& path) {
    return bytes + "[BACKUPLOCATION]\r\nOriginalLocation=" + path + "\r\n";
}

}  // namespace testfiles
