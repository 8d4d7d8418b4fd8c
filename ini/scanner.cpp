#include "ini/scanner.h"

#include <algorithm>
#include <cstring>

namespace ini {

IniText::~IniText() { Close(); }

bool IniText::Open(const std::string& path) {
    Close();
    // Binary mode: the line-end folding is done here, the same on every platform.
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return false;
    buffer_.resize(chunkSize_);
    data_ = buffer_.data();
    pos_ = end_ = 0;
    // Some systems open a directory for reading and fail only at the first
    // read: read ahead now so that such a path fails here, like a missing file.
    Refill();
    if (std::ferror(file_)) {
        Close();
        return false;
    }
    return true;
}

void IniText::OpenBytes(std::string_view bytes) {
    Close();
    inMemory_ = true;
    data_ = bytes.data();
    pos_ = 0;
    end_ = bytes.size();
}

void IniText::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    inMemory_ = false;
    data_ = nullptr;
    pos_ = end_ = 0;
}

bool IniText::Refill() {
    // Bytes in memory are all there from the start.
    if (inMemory_ || file_ == nullptr) return false;
    pos_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    return end_ > 0;
}

int IniText::Next() {
    if (pos_ == end_ && !Refill()) return EOF;
    char c = data_[pos_++];
    if (c == '\r') {
        // A lone CR ends a line as CR LF does. The pair may straddle two chunks.
        if ((pos_ < end_ || Refill()) && data_[pos_] == '\n') ++pos_;
        return '\n';
    }
    return static_cast<unsigned char>(c);
}

bool IniText::ReadIniLine(std::string& line, std::size_t limit) {
    line.clear();
    if (!IsOpen() || limit < 2) return false;
    const std::size_t most = limit - 1;
    bool readAny = false;
    while (line.size() < most) {
        if (pos_ == end_ && !Refill()) break;
        // Copy the plain run in one go; only CR and LF need a closer look.
        const char* start = data_ + pos_;
        const std::size_t span = std::min(end_ - pos_, most - line.size());
        std::size_t n = 0;
        while (n < span && start[n] != '\n' && start[n] != '\r') ++n;
        if (n > 0) {
            line.append(start, n);
            pos_ += n;
            readAny = true;
            continue;
        }
        if (span == 0) break;
        const int c = Next();
        if (c == EOF) break;
        line.push_back(static_cast<char>(c));
        readAny = true;
        if (c == '\n') break;
    }
    if (!readAny) return false;
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
