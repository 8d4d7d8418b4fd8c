// The scanner over arbitrary bytes, every pass and both limits, checked
// against a plain model of the line reader: CR LF and a lone CR each folded
// into one newline, lines cut into pieces at the limit, a piece cut at its
// first NUL byte.
// The first input byte sets the reader's chunk size (2 to 65 bytes, or the
// program's own), so that every byte, a CR LF pair among them, meets a read
// boundary somewhere.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "ini/scanner.h"

namespace {

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
        while (at < folded.size() && line.size() < limit - 1) {
            line += folded[at++];
            if (line.back() == '\n') break;
        }
        line.resize(line.find('\0') == std::string::npos ? line.size() : line.find('\0'));
        lines.push_back(line);
    }
    return lines;
}

size_t chunkSize = ini::IniText::kChunkSize;

std::vector<std::string> ReadAll(const std::string& path, size_t limit) {
    ini::IniText file(chunkSize);
    FUZZ_CHECK(file.Open(path));
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadIniLine(line, limit)) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // Mostly 2 to 65 bytes (tiny reads are slow), the program's own size otherwise.
    chunkSize = data[0] < 0xC0 ? 2 + data[0] % 64 : ini::IniText::kChunkSize;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string& path = fuzz::WriteScratchFile(bytes);

    for (size_t limit : {ini::kListLimit, ini::kSeekLimit}) {
        FUZZ_CHECK(ReadAll(path, limit) == ModelLines(bytes, limit));
    }

    const std::vector<std::string> model = ModelLines(bytes, ini::kListLimit);

    // The passes built on the line reader read the bytes from memory: the
    // reader itself has just been checked over the file, at every chunk size,
    // and a dozen opens per input would spend the run in the kernel.
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
        FUZZ_CHECK(header.size() < ini::kListLimit && header.back() == ']');
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
                FUZZ_CHECK(line.find('\n') == std::string::npos && line.size() < ini::kListLimit);
            }
        }
    }
    return 0;
}
