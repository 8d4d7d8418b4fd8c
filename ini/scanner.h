// Reading INI text line by line: the one set of rules behind every list on screen.
// Portable: no <windows.h>. Lines go to a LineSink, so the same passes fill a
// list box in the program and a vector in tests.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

// Line limits count the terminating zero of the classic line reader: a read
// takes at most limit - 1 characters (code points of the UTF-8 text).
constexpr std::size_t kListLimit = 150;
constexpr std::size_t kSeekLimit = 250;

// Receives the lines a pass adds, in file order.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Add(const std::string& line) = 0;
    // A line that is a stretch of the text the pass reads, which the caller
    // keeps alive as long as the sink uses it: a sink may keep the view.
    virtual void AddText(std::string_view line) { Add(std::string(line)); }
};

// Collects lines in memory (tests, benchmarks).
class VectorSink : public LineSink {
public:
    void Add(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

// A file's text (as decoded, see encoding.h) read line by line, the way the
// classic line reader reads a text file: LF, CR LF and a lone CR each end a
// line and come back as one newline; a Ctrl-Z byte is an ordinary
// character; a line stops at its first NUL byte, as a C string would. Limits
// count characters, not bytes, and a piece never ends inside a character.
class IniText {
public:
    // Reads text that the caller keeps alive while this reads it.
    void OpenBytes(std::string_view text);
    bool IsOpen() const { return open_; }
    void Close();
    // Bytes of the text consumed so far.
    std::size_t Offset() const { return pos_; }

    // Reads the next line: up to and including its line end, or limit - 1
    // characters, or to the end of the text. False at the end of the text
    // (and always for a limit below 2). The newline, when read, stays in line.
    bool ReadIniLine(std::string& line, std::size_t limit);

    // The same piece as ReadIniLine reads, as a view of the text: without its
    // newline (ended tells whether the line end was read with it) and not
    // yet cut at a NUL byte. No copy: a listing pass looks at most lines
    // only long enough to see they are no header.
    bool NextPiece(std::string_view& piece, bool& ended, std::size_t limit);

private:
    friend int ListSectionHeaders(IniText& file, LineSink& sink);

    std::string_view text_;
    std::size_t pos_ = 0;
    bool open_ = false;
};

// Removes the newline at the end of line, when there is one.
void StripLineEnd(std::string& line);

// The header test: "[" at index 0 or 1, then a "]" after it. On success the
// text is cut right after that "]" and true is returned.
bool IsSectionHeader(std::string& line);
// The same test on a view: the length up to and with that "]", or 0.
std::size_t SectionHeaderLength(std::string_view line);

// Section list pass: every header (cut after its "]") in file order.
// Returns the number of headers added.
int ListSectionHeaders(IniText& file, LineSink& sink);

// The lines of a UTF-16 file's body (after its mark) that may be read as a
// header, decoded and each ended by an LF, added to kept: ListSectionHeaders
// over kept gives the headers it gives for the whole decoded body. Only the
// lines that hold a "[" are decoded.
void KeepHeaderLinesUtf16(std::string_view body, bool little, std::string& kept);

// Positions the file just after the first line whose first header.size()
// characters equal header (case-sensitive). False when the end came first.
bool FindSection(IniText& file, std::string_view header, std::size_t seekLimit);

// Adds the lines after a found header up to the next line starting with "[":
// line ends removed, empty lines skipped. Returns the number added.
int ReadSectionBody(IniText& file, LineSink& sink);

// Every line of the file, line ends removed, empty lines included.
int ReadWholeFile(IniText& file, LineSink& sink);

}  // namespace ini
