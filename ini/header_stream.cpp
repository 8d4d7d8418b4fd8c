#include "ini/header_stream.h"

#include <algorithm>

#include "ini/line_ends.h"

namespace ini {

namespace {

constexpr std::size_t kLongestMark = 3;

std::size_t MarkSize(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: return 2;
    case Encoding::Utf8Bom: return 3;
    default:                return 0;
    }
}

}  // namespace

void HeaderStream::Feed(std::string_view bytes) {
    if (!found_) {
        const std::size_t wanted = std::min(kLongestMark - head_.size(), bytes.size());
        head_.append(bytes.substr(0, wanted));
        bytes.remove_prefix(wanted);
        if (head_.size() < kLongestMark) return;
        FindMark();
    }
    Body(bytes);
}

void HeaderStream::FindMark() {
    found_ = true;
    marked_ = EncodingByMark(head_);
    const std::string first = head_.substr(std::min(MarkSize(marked_), head_.size()));
    head_.clear();
    Body(first);
}

void HeaderStream::Body(std::string_view bytes) {
    // Lines are taken whole, so that no line is cut between two pieces: a
    // line begun in an earlier piece ends in this one, or goes on past it.
    if (!begun_.empty()) {
        const std::size_t end = PastFirstLine(bytes, begun_.size());
        if (end == std::string_view::npos) {
            begun_.append(bytes);
            return;
        }
        begun_.append(bytes.substr(0, end));
        Lines(begun_);
        begun_.clear();
        bytes.remove_prefix(end);
    }
    const std::size_t end = PastLastLine(bytes);
    Lines(bytes.substr(0, end));
    begun_.assign(bytes.substr(end));
}

std::size_t HeaderStream::PastFirstLine(std::string_view bytes, std::size_t placed) const {
    if (!Utf16()) {
        const char* end = bytes.data() + bytes.size();
        const char* lf = FindByte(bytes.data(), end, '\n');
        return lf == end ? std::string_view::npos : static_cast<std::size_t>(lf - bytes.data()) + 1;
    }
    std::size_t i = 0;
    if (placed % 2 != 0) {
        // A unit split between the pieces.
        if (bytes.empty()) return std::string_view::npos;
        if (IsLineFeed(begun_.back(), bytes[0])) return 1;
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2)
        if (IsLineFeed(bytes[i], bytes[i + 1])) return i + 2;
    return std::string_view::npos;
}

std::size_t HeaderStream::PastLastLine(std::string_view bytes) const {
    if (!Utf16()) {
        for (std::size_t i = bytes.size(); i > 0; --i)
            if (bytes[i - 1] == '\n') return i;
        return 0;
    }
    for (std::size_t i = bytes.size() / 2 * 2; i >= 2; i -= 2)
        if (IsLineFeed(bytes[i - 2], bytes[i - 1])) return i;
    return 0;
}

void HeaderStream::Lines(std::string_view lines) {
    if (lines.empty()) return;
    if (Utf16()) {
        KeepHeaderLinesUtf16(lines, marked_ == Encoding::Utf16Le, kept_);
        return;
    }
    if (marked_ == Encoding::Ansi) {
        // Cut after a line end, each piece is valid UTF-8 when the whole is.
        if (ascii_ && !IsAscii(lines)) ascii_ = false;
        if (!ascii_ && utf8_) utf8_ = IsValidUtf8(lines);
    }
    // A header's line holds a "[" in any encoding of one byte per character:
    // no code page reads another byte as one.
    const char* data = lines.data();
    const char* end = data + lines.size();
    const char* from = data;   // a line's start
    while (from < end) {
        const char* bracket = FindByte(from, end, '[');
        if (bracket == end) break;
        const char* start = bracket;
        while (start > from && start[-1] != '\n' && start[-1] != '\r') --start;
        const std::size_t next = PastLineEnd(lines, static_cast<std::size_t>(FindLineEnd(bracket, end) - data));
        kept_.append(start, data + next);
        from = data + next;
    }
}

FileText HeaderStream::Finish(const CodePage& ansi, std::string& text) {
    if (!found_) FindMark();
    Lines(begun_);
    FileText kind{marked_, {}, {}};
    // Lines start at even places, so the last one holds an odd last byte.
    if (Utf16() && begun_.size() % 2 != 0) kind.oddByte.assign(1, begun_.back());
    begun_.clear();

    // Without a mark, the bytes decide: valid UTF-8 that is not all ASCII is
    // UTF-8, and then, like ASCII in the ANSI code page, its own text. UTF-16
    // lines were decoded as they came.
    const bool unmarked = marked_ == Encoding::Ansi;
    if (unmarked && !ascii_ && utf8_) kind.encoding = Encoding::Utf8;
    if (Utf16() || (unmarked && (ascii_ || utf8_)))
        text = std::move(kept_);
    else
        text = DecodeFile(kept_, unmarked ? Encoding::Ansi : Encoding::Utf8, ansi).text;
    kept_.clear();
    IniText lines;
    lines.OpenBytes(text);
    ListSectionHeaders(lines, sink_);
    return kind;
}

}  // namespace ini
