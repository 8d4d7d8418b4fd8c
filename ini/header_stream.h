// Listing a file's section headers from its bytes as they are read, a piece
// at a time: the headers ListSectionHeaders gives for the whole file's
// decoded text, in file order, and the file's encoding found on the way.
// Portable: no <windows.h>. A file of tens of megabytes is never held whole,
// nor decoded whole: only the lines that hold a "[" are kept, those of a
// UTF-16 file decoded as they come, those of a file of one byte per
// character once the last byte is in (a byte that is not UTF-8 near the end
// makes the whole file one of the ANSI code page).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "ini/encoding.h"
#include "ini/scanner.h"

namespace ini {

class HeaderStream {
public:
    explicit HeaderStream(LineSink& sink) : sink_(sink) {}

    // The file's next bytes, split anywhere.
    void Feed(std::string_view bytes);

    // After the last bytes: lists the headers (the sink gets none before)
    // and returns the file's kind (its encoding and, for UTF-16, its odd
    // last byte; no text).
    // The headers the sink gets as views (AddText) view text, which the
    // caller keeps while the sink uses them.
    FileText Finish(const CodePage& ansi, std::string& text);

private:
    void FindMark();
    bool Utf16() const { return marked_ == Encoding::Utf16Le || marked_ == Encoding::Utf16Be; }
    // Whether the UTF-16 unit of these two bytes, in file order, is an LF.
    bool IsLineFeed(char first, char second) const {
        return marked_ == Encoding::Utf16Le ? first == '\n' && second == '\0' : first == '\0' && second == '\n';
    }
    void Body(std::string_view bytes);
    // Where the piece's first line ends (past its LF, or the UTF-16 LF, at an
    // offset of even place after the line begun); npos without one.
    std::size_t PastFirstLine(std::string_view bytes, std::size_t placed) const;
    std::size_t PastLastLine(std::string_view bytes) const;
    // Whole lines, or the file's last bytes.
    void Lines(std::string_view lines);

    LineSink& sink_;
    std::string head_;                    // the first bytes, while fewer than a mark
    bool found_ = false;                  // whether the mark was looked for
    Encoding marked_ = Encoding::Ansi;    // what the mark says
    std::string begun_;                   // a line not yet ended, from its start
    std::string kept_;                    // lines holding a "[", with their ends (UTF-16: decoded, with LFs)
    bool ascii_ = true, utf8_ = true;     // all bytes so far, for a file without a mark
};

}  // namespace ini
