#include "ini/scanner.h"

#include <cstdint>
#include <cstring>

namespace ini {

namespace {

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// True when the eight bytes hold no line end and nothing but ASCII.
bool PlainAscii(const char* at) {
    std::uint64_t block;
    std::memcpy(&block, at, 8);
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    auto holds = [&](unsigned char c) {
        const std::uint64_t x = block ^ (kOnes * c);
        return ((x - kOnes) & ~x & kHighs) != 0;
    };
    return (block & kHighs) == 0 && !holds('\n') && !holds('\r');
}

}  // namespace

void IniText::OpenBytes(std::string_view text) {
    text_ = text;
    pos_ = 0;
    open_ = true;
}

void IniText::Close() {
    text_ = std::string_view();
    pos_ = 0;
    open_ = false;
}

bool IniText::ReadIniLine(std::string& line, std::size_t limit) {
    line.clear();
    if (!open_ || limit < 2 || pos_ >= text_.size()) return false;
    const std::size_t most = limit - 1;
    const char* data = text_.data();
    const std::size_t end = text_.size();
    std::size_t at = pos_, characters = 0;
    bool lineEnd = false;
    while (at < end) {
        if (characters + 8 <= most && at + 8 <= end && PlainAscii(data + at)) {
            at += 8;
            characters += 8;
            continue;
        }
        const char c = data[at];
        // A piece ends before a character, never inside one.
        if (StartsCharacter(c)) {
            if (characters == most) break;
            ++characters;
        }
        if (c == '\n' || c == '\r') {
            lineEnd = true;
            break;
        }
        ++at;
    }
    line.assign(data + pos_, at - pos_);
    if (lineEnd) {
        // LF, CR LF and a lone CR all end a line, and come back as one newline.
        at += (data[at] == '\r' && at + 1 < end && data[at + 1] == '\n') ? 2 : 1;
        line.push_back('\n');
    }
    pos_ = at;
    // The rest of the piece after a NUL byte is gone, as it is from a C string.
    const std::size_t nul = line.find('\0');
    if (nul != std::string::npos) line.resize(nul);
    return true;
}

void StripLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
}

bool IsSectionHeader(std::string& line) {
    std::size_t open;
    if (!line.empty() && line[0] == '[')
        open = 0;
    else if (line.size() > 1 && line[1] == '[')
        open = 1;
    else
        return false;
    const std::size_t close = line.find(']', open + 1);
    if (close == std::string::npos) return false;
    line.resize(close + 1);
    return true;
}

int ListSectionHeaders(IniText& file, LineSink& sink) {
    int added = 0;
    std::string line;
    while (file.ReadIniLine(line, kListLimit)) {
        if (!IsSectionHeader(line)) continue;
        sink.Add(line);
        ++added;
    }
    return added;
}

bool FindSection(IniText& file, std::string_view header, std::size_t seekLimit) {
    std::string line;
    while (file.ReadIniLine(line, seekLimit)) {
        if (std::string_view(line).substr(0, header.size()) == header) return true;
    }
    return false;
}

int ReadSectionBody(IniText& file, LineSink& sink) {
    int added = 0;
    std::string line;
    while (file.ReadIniLine(line, kListLimit)) {
        StripLineEnd(line);
        if (line.empty()) continue;
        // Only a bracket in the first column ends the section; " [x]" is body text.
        if (line[0] == '[') break;
        sink.Add(line);
        ++added;
    }
    return added;
}

int ReadWholeFile(IniText& file, LineSink& sink) {
    int added = 0;
    std::string line;
    while (file.ReadIniLine(line, kListLimit)) {
        StripLineEnd(line);
        sink.Add(line);
        ++added;
    }
    return added;
}

}  // namespace ini
