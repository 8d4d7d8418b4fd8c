// Check File's checker over arbitrary file bytes, read as the program reads
// a file (ini/encoding.h): it never crashes, every finding's line lies in the
// file, the place of every finding in KEPLIN's lists can be found, and its
// work grows linearly: counted in steps (bytes looked at, name-table probes),
// never timed, it stays within a fixed multiple of the text's bytes and
// lines, for the text and for the text twice over (where every section and
// key comes again).
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "ini/encoding.h"
#include "ini/profile_check.h"
#include "tests/unit/test_code_page.h"
#include "view/line_place.h"

namespace {

const testing_code_page::TestCodePage kAnsi;

// The lines of a text by its line ends (LF, CR LF, a lone CR); an empty text has one.
size_t LinesOf(const std::string& text) {
    size_t lines = 0, at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < text.size()) {
        ++lines;
        const size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) break;
        at = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines == 0 ? 1 : lines;
}

// Each byte is looked at a bounded number of times (line, length, marks,
// names hashed and looked up for a few findings); each line costs a few
// probes and its share of the tables' growth.
bool Linear(const ini::CheckReport& report, size_t bytes) { return report.steps <= 8 * bytes + 32 * report.lines + 256; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ini::FileText file = ini::DecodeFile(bytes, kAnsi);
    const ini::CheckReport report = ini::CheckProfileText(file.text, file.encoding);
    FUZZ_CHECK(report.lines == LinesOf(file.text));
    for (const ini::CheckFinding& finding : report.findings) {
        FUZZ_CHECK(finding.line >= 1 && finding.line <= report.lines);
        FUZZ_CHECK(!finding.gets.empty());
        const view::LinePlace place = view::PlaceOfLine(file.text, finding.line);
        FUZZ_CHECK(!place.inView || (!place.isHeader && place.headerCopy == 0));
    }
    const ini::CheckReport twice = ini::CheckProfileText(file.text + file.text, file.encoding);
    FUZZ_CHECK(Linear(report, file.text.size()));
    FUZZ_CHECK(Linear(twice, 2 * file.text.size()));
    return 0;
}
