// Reading INI text line by line: the one set of rules behind every list on screen.
// Portable: no <windows.h>. Lines go to a LineSink, so the same passes fill a
// list box in the program and a vector in tests.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

// Line limits count the terminating zero of the classic line reader:
// a read takes at most limit - 1 characters.
constexpr std::size_t kListLimit = 150;
constexpr std::size_t kSeekLimit = 250;

// Receives the lines a pass adds, in file order.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Add(const std::string& line) = 0;
};

// Collects lines in memory (tests, benchmarks).
class VectorSink : public LineSink {
public:
    void Add(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

// An INI file open for reading. Lines end at LF, CR LF or a lone CR, as they
// do for the platform's profile reader (and so for the lines our writer adds
// to a lone-CR file); each comes back as one newline. A Ctrl-Z byte is an
// ordinary character. A line stops at its first NUL byte, as a C string would.
// The passes below read from a file the caller has opened; the caller closes
// it (or lets it go out of scope) when the pass returns.
class IniText {
public:
    // Big reads keep a 44 MB file to a few dozen system calls.
    static constexpr std::size_t kChunkSize = 64 * 1024;
    // chunkSize: bytes per read; small sizes let tests put every byte of a
    // text at a read boundary.
    explicit IniText(std::size_t chunkSize = kChunkSize) : chunkSize_(chunkSize ? chunkSize : 1) {}
    ~IniText();
    IniText(const IniText&) = delete;
    IniText& operator=(const IniText&) = delete;

    // Opens path for reading; false when it cannot be opened or is a directory.
    bool Open(const std::string& path);
    // Reads from bytes already in memory, which the caller keeps alive while
    // this reads. The same rules as a file, so a search can read a file once
    // and go over it many times.
    void OpenBytes(std::string_view bytes);
    bool IsOpen() const { return file_ != nullptr || inMemory_; }
    void Close();
    // Bytes consumed so far; only for text opened with OpenBytes.
    std::size_t Offset() const { return pos_; }

    // Reads the next line: up to and including the newline, or limit - 1
    // characters, or to the end of the file. False at the end of the file
    // when nothing was read (and always for a limit below 2). The newline,
    // when read, stays in line.
    bool ReadIniLine(std::string& line, std::size_t limit);

private:
    int Next();          // next byte with CR LF and a lone CR folded into LF, or EOF
    bool Refill();
    std::size_t chunkSize_;
    std::FILE* file_ = nullptr;
    bool inMemory_ = false;
    std::vector<char> buffer_;
    const char* data_ = nullptr;   // buffer_, or the bytes given to OpenBytes
    std::size_t pos_ = 0, end_ = 0;
};

// Removes the newline at the end of line, when there is one.
void StripLineEnd(std::string& line);

// The header test: "[" at index 0 or 1, then a "]" after it. On success the
// text is cut right after that "]" and true is returned.
bool IsSectionHeader(std::string& line);

// Section list pass: every header (cut after its "]") in file order.
// Returns the number of headers added.
int ListSectionHeaders(IniText& file, LineSink& sink);

// Positions the file just after the first line whose first header.size()
// characters equal header (case-sensitive). False when the end came first.
bool FindSection(IniText& file, std::string_view header, std::size_t seekLimit);

// Adds the lines after a found header up to the next line starting with "[":
// line ends removed, empty lines skipped. Returns the number added.
int ReadSectionBody(IniText& file, LineSink& sink);

// Every line of the file, line ends removed, empty lines included.
int ReadWholeFile(IniText& file, LineSink& sink);

}  // namespace ini
