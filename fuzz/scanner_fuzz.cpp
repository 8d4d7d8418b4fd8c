// The scanner over arbitrary text, every pass and both limits, checked
// against a plain model of the line reader: CR LF and a lone CR each folded
// into one newline, lines cut into pieces of at most limit - 1 characters
// (a byte 10xxxxxx continues the character before it), a piece cut at its
// first NUL byte. The same bytes read as UTF-16 list the same headers, and
// the bytes as a whole file, given in pieces cut anywhere, list the headers
// of the whole file's decoded text, in the encoding found for it.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "ini/encoding.h"
#include "ini/header_stream.h"
#include "ini/scanner.h"
#include "tests/unit/test_code_page.h"

namespace {

// UTF-16 needs no code page.
class NoCodePage : public ini::CodePage {
public:
    std::optional<std::u16string> Read(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> Write(std::u16string_view) const override { return std::nullopt; }
    std::string Name() const override { return ""; }
} const kNoCodePage;

const testing_code_page::TestCodePage kAnsi;

// The headers of text, read whole.
std::vector<std::string> HeadersOf(const std::string& text) {
    ini::IniText file;
    file.OpenBytes(text);
    ini::VectorSink headers;
    ini::ListSectionHeaders(file, headers);
    return headers.lines;
}

// The file read whole and decoded whole: its headers and its kind.
std::vector<std::string> WholeFileHeaders(const std::string& bytes, ini::FileText& kind) {
    const ini::Encoding marked = ini::EncodingByMark(bytes);
    if (marked == ini::Encoding::Utf16Le || marked == ini::Encoding::Utf16Be) {
        const std::string_view body = std::string_view(bytes).substr(2);
        kind = ini::FileText{marked, {}, body.size() % 2 ? std::string(body.substr(body.size() - 1)) : ""};
        return HeadersOf(ini::DecodeUtf16Body(body, marked == ini::Encoding::Utf16Le));
    }
    ini::FileText file = ini::DecodeFile(bytes, kAnsi);
    kind = ini::FileText{file.encoding, {}, {}};
    return HeadersOf(file.text);
}

// The headers of a UTF-16 body from only the lines kept for them.
std::vector<std::string> KeptUtf16Headers(std::string_view body, bool little) {
    std::string kept;
    ini::KeepHeaderLinesUtf16(body, little, kept);
    return HeadersOf(kept);
}

// The same file given to a HeaderStream in pieces of 1 to step bytes, or
// whole for a step of 0.
std::vector<std::string> StreamedHeaders(const std::string& bytes, std::size_t step, ini::FileText& kind) {
    ini::VectorSink headers;
    ini::HeaderStream stream(headers);
    for (std::size_t at = 0, turn = 0; at < bytes.size(); ++turn) {
        const std::size_t length =
            step == 0 ? bytes.size() : 1 + (static_cast<unsigned char>(bytes[turn % bytes.size()]) + turn) % step;
        stream.Feed(std::string_view(bytes).substr(at, length));
        at += length;
    }
    std::string text;
    kind = stream.Finish(kAnsi, text);
    return headers.lines;
}

std::vector<std::string> ModelLines(const std::string& bytes, size_t limit) {
    std::string folded;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        folded += bytes[i] == '\r' ? '\n' : bytes[i];
    }
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < folded.size()) {
        std::string line;
        size_t characters = 0;
        while (at < folded.size()) {
            const bool starts = (static_cast<unsigned char>(folded[at]) & 0xC0) != 0x80;
            if (starts && characters == limit - 1) break;
            characters += starts;
            line += folded[at++];
            if (line.back() == '\n') break;
        }
        line.resize(line.find('\0') == std::string::npos ? line.size() : line.find('\0'));
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ReadAll(const std::string& bytes, size_t limit) {
    ini::IniText file;
    file.OpenBytes(bytes);
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadIniLine(line, limit)) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (size_t limit : {ini::kListLimit, ini::kSeekLimit}) {
        FUZZ_CHECK(ReadAll(bytes, limit) == ModelLines(bytes, limit));
    }

    const std::vector<std::string> model = ModelLines(bytes, ini::kListLimit);

    // The passes built on the line reader.
    ini::IniText file;
    file.OpenBytes(bytes);
    ini::VectorSink whole;
    FUZZ_CHECK(ini::ReadWholeFile(file, whole) == static_cast<int>(model.size()));
    for (size_t i = 0; i < model.size(); ++i) {
        std::string expected = model[i];
        ini::StripLineEnd(expected);
        FUZZ_CHECK(whole.lines[i] == expected);
    }

    // The section list: the model's pieces that pass the header test, each
    // cut right after its first "]" and passing the test again unchanged.
    file.OpenBytes(bytes);
    ini::VectorSink headers;
    ini::ListSectionHeaders(file, headers);
    std::vector<std::string> expectedHeaders;
    for (std::string line : model)
        if (ini::IsSectionHeader(line)) expectedHeaders.push_back(line);
    FUZZ_CHECK(headers.lines == expectedHeaders);
    for (const std::string& header : headers.lines) {
        std::string again = header;
        FUZZ_CHECK(ini::IsSectionHeader(again) && again == header);
        FUZZ_CHECK(header.back() == ']');
    }

    // Finding each of the first headers, with both seek limits, and reading
    // its body: no body line is empty or starts with "[" or holds a newline.
    for (size_t h = 0; h < headers.lines.size() && h < 4; ++h) {
        for (size_t seek : {ini::kListLimit, ini::kSeekLimit}) {
            file.OpenBytes(bytes);
            if (!ini::FindSection(file, headers.lines[h], seek)) {
                // Seeking with the list's own limit always finds a listed header.
                FUZZ_CHECK(seek != ini::kListLimit);
                continue;
            }
            ini::VectorSink body;
            ini::ReadSectionBody(file, body);
            for (const std::string& line : body.lines) {
                FUZZ_CHECK(!line.empty() && line[0] != '[');
                FUZZ_CHECK(line.find('\n') == std::string::npos);
            }
        }
    }

    // The same bytes as a UTF-16 body, either way round: the pass over its
    // units lists what the pass over its decoded text lists.
    for (bool little : {true, false})
        FUZZ_CHECK(KeptUtf16Headers(bytes, little) == HeadersOf(ini::DecodeUtf16Body(bytes, little)));
    // And the text itself written as UTF-16, headers and all.
    const ini::FileText asText{ini::Encoding::Utf16Le, bytes, {}};
    if (const std::optional<std::string> utf16 = ini::EncodeFile(asText, kNoCodePage))
        FUZZ_CHECK(KeptUtf16Headers(std::string_view(*utf16).substr(2), true) == headers.lines);

    // Given in pieces, whole or cut anywhere.
    ini::FileText read, streamed;
    const std::vector<std::string> expected = WholeFileHeaders(bytes, read);
    for (std::size_t step : {std::size_t{0}, std::size_t{2}, std::size_t{5}, std::size_t{64}}) {
        FUZZ_CHECK(StreamedHeaders(bytes, step, streamed) == expected);
        FUZZ_CHECK(streamed.encoding == read.encoding && streamed.oddByte == read.oddByte);
    }
    return 0;
}
