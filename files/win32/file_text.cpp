#include "files/win32/file_text.h"

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_watch.h"
#include "ini/header_stream.h"
#include "ini/win32/code_page.h"

#include <utility>

namespace files {

namespace {

// The kind of the file KEPLIN last read or wrote: its text left empty.
std::string KnownPath;
ini::FileText Known;

}  // namespace

void NoteFileKind(const std::string& path, const ini::FileText& kind) {
    // Only the current file's kind is asked for: reads and writes of others
    // (preferences, backups, a file compared) must not push it out.
    if (path != FullPath) return;
    KnownPath = path;
    Known = ini::FileText{kind.encoding, {}, kind.oddByte};
}

void ForgetFileKind(const std::string& path) {
    if (path == KnownPath) KnownPath.clear();
}

ReadResult ReadFileKind(const std::string& path, ini::FileText& kind) {
    // A file as KEPLIN last saw it holds what KEPLIN last read or wrote.
    if (path == KnownPath && SeenAsItIs(path)) {
        kind = Known;
        return ReadResult::Read;
    }
    const ReadResult read = ReadFileText(path, kind);
    kind.text.clear();
    return read;
}

ReadResult ReadFileText(const std::string& path, ini::FileText& file) {
    std::string bytes;
    const ReadResult read = ReadFileBytes(path, bytes);
    file = read == ReadResult::Read ? ini::DecodeFile(std::move(bytes), SystemAnsiCodePage())
                                    // A new file is made as the platform makes one: ANSI.
                                    : ini::FileText{ini::Encoding::Ansi, {}, {}};
    if (read == ReadResult::Read) NoteFileKind(path, file);
    return read;
}

ini::FileText TextOf(std::string_view bytes) { return ini::DecodeFile(bytes, SystemAnsiCodePage()); }

ReadResult ListFileHeaders(const std::string& path, ini::LineSink& sink, ini::FileText& kind, std::string& text) {
    // Read a piece at a time: listing a file of many megabytes should cost
    // little more than reading it.
    ini::HeaderStream headers(sink);
    const ReadResult read = ReadFilePieces(path, [&](std::string_view piece) { headers.Feed(piece); });
    if (read != ReadResult::Read) return read;
    kind = headers.Finish(SystemAnsiCodePage(), text);
    NoteFileKind(path, kind);
    return read;
}

std::optional<std::string> FileBytesOf(ini::FileText&& file) {
    // Half a UTF-16 character at the end belongs nowhere once the text changes.
    if (!file.oddByte.empty()) return std::nullopt;
    return ini::EncodeFile(std::move(file), SystemAnsiCodePage());
}

std::string EncodingNameOf(ini::Encoding encoding) { return ini::EncodingName(encoding, SystemAnsiCodePage()); }

std::string WhyNotWritable(const std::string& fileName, const ini::FileText& file, const std::string& text) {
    if (!file.oddByte.empty())
        return Format("Sorry, KEPLIN cannot change %s:\nits UTF-16 text ends in half a character.", fileName.c_str());
    if (!ini::IsValidUtf8(text))
        return Format("Sorry, KEPLIN cannot write this text into %s:\nit is not valid text.", fileName.c_str());
    const std::string character = ini::FirstCharacterNotHeld(text, file.encoding, SystemAnsiCodePage());
    if (character.empty()) return "";
    // Every character has a place in UTF-16 LE, the one Unicode form the
    // platform's profile calls read everywhere.
    const char* way = file.encoding == ini::Encoding::Ansi
                          ? "Converting the file to UTF-16 LE (Commands > Options > Encoding) would hold it.\n"
                          : "";
    return Format("Sorry, KEPLIN cannot write \"%s\" (%s) into %s:\nits encoding, %s, cannot hold that character.\n"
                  "%sNothing was changed.",
                  character.c_str(), ini::CodePointName(character).c_str(), fileName.c_str(),
                  EncodingNameOf(file.encoding).c_str(), way);
}

std::string WhyNotConvertible(const std::string& fileName, const ini::FileText& file, ini::Encoding target) {
    const std::string into = EncodingNameOf(target);
    if (!file.oddByte.empty())
        return Format("Sorry, KEPLIN cannot convert %s to %s:\nits UTF-16 text ends in half a character.\n"
                      "Nothing was changed.",
                      fileName.c_str(), into.c_str());
    if (!ini::IsValidUtf8(file.text)) {
        const size_t line = ini::LineOfFirstOddByte(file.text);
        return Format("Sorry, KEPLIN cannot convert %s to %s:\nline %lu holds bytes that are not text in its "
                      "encoding, and they would not stay as they are.\nNothing was changed.",
                      fileName.c_str(), into.c_str(), static_cast<unsigned long>(line));
    }
    const std::string character = ini::FirstCharacterNotHeld(file.text, target, SystemAnsiCodePage());
    if (character.empty()) return "";
    return Format("Sorry, KEPLIN cannot convert %s to %s:\nit holds \"%s\" (%s), which %s cannot hold.\n"
                  "Nothing was changed.",
                  fileName.c_str(), into.c_str(), character.c_str(), ini::CodePointName(character).c_str(),
                  into.c_str());
}

}  // namespace files
