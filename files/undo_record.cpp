#include "files/undo_record.h"

#include "files/common_bytes.h"

#include <algorithm>
#include <charconv>

namespace files {

namespace {

const char kMagic[] = "KEPLIN-UNDO-3 ";

// Reads a decimal number and the separator after it; false on anything else.
bool ReadNumber(std::string_view& text, char separator, std::uint64_t& value) {
    const char* end = text.data() + text.size();
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc() || read.ptr == end || *read.ptr != separator) return false;
    text.remove_prefix(static_cast<std::size_t>(read.ptr - text.data()) + 1);
    return true;
}

bool ReadLine(std::string_view& text, std::string_view& line) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;
    line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return true;
}

// The sizes and the stretches agree with each other, as a replacement makes them.
bool Consistent(const UndoRecord& record) {
    const std::uint64_t oldLength = record.oldBytes.size();
    if (record.piece == 0 || record.from > record.oldSize || record.from > record.newSize) return false;
    if (record.oldSize - record.from < oldLength || record.newSize - record.from < record.newLength) return false;
    if (record.oldSize != record.newSize)
        return record.from + oldLength == record.oldSize && record.from + record.newLength == record.newSize;
    return oldLength == record.newLength;
}

std::string_view Part(std::string_view bytes, std::uint64_t offset, std::uint64_t length) {
    return bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

}  // namespace

std::vector<Piece> UndoRecord::Pieces() const {
    std::vector<Piece> pieces;
    const std::uint64_t step = piece == 0 ? kWritePiece : piece;
    const std::uint64_t oldLength = oldBytes.size();
    for (std::uint64_t at = 0; at < newLength;) {
        std::uint64_t end = std::min(newLength, at + step);
        if (at < oldLength && oldLength < end) end = oldLength;
        pieces.push_back({at, end - at});
        at = end;
    }
    return pieces;
}

UndoRecord MakeUndoRecord(std::string_view old, std::string_view now, std::string path, std::uint64_t piece) {
    const std::size_t from = CommonPrefixLength(old, now);
    std::size_t oldEnd = old.size(), newEnd = now.size();
    // Of a change that keeps the length only the bytes up to the last change
    // are written, so a change in a large file costs what it changes.
    if (old.size() == now.size()) {
        const std::size_t same = CommonSuffixLength(old, now, oldEnd - from);
        oldEnd -= same;
        newEnd -= same;
    }
    UndoRecord record;
    record.path = std::move(path);
    record.from = from;
    record.oldSize = old.size();
    record.newSize = now.size();
    record.newLength = newEnd - from;
    record.piece = piece == 0 ? kWritePiece : piece;
    record.oldBytes = std::string(old.substr(from, oldEnd - from));
    for (const Piece& p : record.Pieces()) record.newHashes.push_back(HashOf(Part(now, from + p.offset, p.length)));
    return record;
}

std::string UndoRecordHead(const UndoRecord& record) {
    std::string text = kMagic;
    for (std::uint64_t number : {record.from, record.oldSize, record.newSize, record.newLength, record.piece})
        text += std::to_string(number) + " ";
    text += std::to_string(record.newHashes.size()) + "\n";
    text += record.path + "\n";
    for (const Hash128& hash : record.newHashes) text += HexOf(hash) + "\n";
    return text;
}

std::string FormatUndoRecord(const UndoRecord& record) { return UndoRecordHead(record) + record.oldBytes; }

std::optional<UndoRecord> ParseUndoRecord(std::string_view text) {
    if (text.substr(0, sizeof kMagic - 1) != kMagic) return std::nullopt;
    text.remove_prefix(sizeof kMagic - 1);
    UndoRecord record;
    std::uint64_t count = 0;
    std::string_view path;
    if (!ReadNumber(text, ' ', record.from) || !ReadNumber(text, ' ', record.oldSize) ||
        !ReadNumber(text, ' ', record.newSize) || !ReadNumber(text, ' ', record.newLength) ||
        !ReadNumber(text, ' ', record.piece) || !ReadNumber(text, '\n', count) || !ReadLine(text, path))
        return std::nullopt;
    record.path = std::string(path);
    if (count > text.size() / 33) return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string_view line;
        Hash128 hash;
        if (!ReadLine(text, line) || !ReadHex(line, hash)) return std::nullopt;
        record.newHashes.push_back(hash);
    }
    record.oldBytes = std::string(text);
    if (!Consistent(record) || record.Pieces().size() != record.newHashes.size()) return std::nullopt;
    return record;
}

std::vector<FileStep> WriteSteps(const UndoRecord& record, std::string_view now) {
    std::vector<FileStep> steps;
    for (const Piece& p : record.Pieces())
        steps.push_back({false, record.from + p.offset, Part(now, record.from + p.offset, p.length)});
    steps.push_back({true, record.newSize, {}});
    return steps;
}

Finding ClassifyFile(const UndoRecord& record, std::string_view file) {
    const std::uint64_t size = file.size();
    const std::uint64_t oldLength = record.oldBytes.size();
    const std::string_view oldBytes = record.oldBytes;
    // The old stretch from this offset on is in the file as it was.
    auto holdsOld = [&](std::uint64_t offset) {
        return record.from + oldLength <= size &&
               Part(file, record.from + offset, oldLength - offset) == oldBytes.substr(static_cast<std::size_t>(offset));
    };
    if (size == record.oldSize && holdsOld(0)) return {FileState::Untouched, 0};

    const std::vector<Piece> pieces = record.Pieces();
    std::size_t written = 0;
    std::uint64_t writtenEnd = 0;
    while (written < pieces.size()) {
        const Piece& p = pieces[written];
        const std::uint64_t at = record.from + p.offset;
        if (at + p.length > size || HashOf(Part(file, at, p.length)) != record.newHashes[written]) break;
        writtenEnd = p.offset + p.length;
        ++written;
    }
    if (written == pieces.size() && size == record.newSize) return {FileState::Complete, written};
    // Until its last step the write only lengthens the file, as far as it has written.
    const std::uint64_t passedSize = std::max(record.oldSize, record.from + writtenEnd);
    if (size == passedSize && holdsOld(std::min(writtenEnd, oldLength))) return {FileState::HalfWritten, written};
    return {FileState::Unknown, written};
}

std::vector<FileStep> UndoSteps(const UndoRecord& record, std::uint64_t fileSize, std::size_t newPieces) {
    std::vector<FileStep> steps;
    const std::uint64_t oldLength = record.oldBytes.size();
    const std::string_view oldBytes = record.oldBytes;
    // New bytes past the old end go first, which leaves the file as the write
    // left it after its last piece over old bytes.
    if (fileSize > record.oldSize) steps.push_back({true, record.oldSize, {}});
    // A file already cut to a shorter new size gets its old end back first.
    if (fileSize < record.oldSize) {
        const std::uint64_t at = std::max(fileSize, record.from) - record.from;
        steps.push_back({false, record.from + at, oldBytes.substr(static_cast<std::size_t>(at))});
    }
    const std::vector<Piece> pieces = record.Pieces();
    std::size_t last = std::min(newPieces, pieces.size());
    while (last > 0 && pieces[last - 1].offset >= oldLength) --last;
    for (std::size_t i = last; i-- > 0;) {
        const Piece& p = pieces[i];
        steps.push_back({false, record.from + p.offset, Part(oldBytes, p.offset, p.length)});
    }
    return steps;
}

std::string UndoRecordName(std::string_view fullPath) { return HexOf(HashOf(fullPath)) + ".keplin-undo"; }

}  // namespace files
