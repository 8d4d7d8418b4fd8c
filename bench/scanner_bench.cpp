// Times the section-list pass and the sort over a large INI file.
// Usage: scanner_bench [FILE]. Without FILE a 100,000-section file (about
// 44 MB, the same bytes bench/make-big-ini writes) is made in the temp folder.
#include <chrono>
#include <cstdio>
#include <deque>
#include <string_view>
#include <vector>
#include <filesystem>
#include <string>

#include "ini/header_stream.h"
#include "ini/line_order.h"
#include "ini/scanner.h"
#include "reference_walk.h"
#include "test_code_page.h"

namespace {

const char* const kWords[] = {"Colors", "boot", "Desktop", "fonts",
                              "Ports",  "network", "Sound", "windows"};
constexpr int kKeysPerSection = 8;
constexpr std::size_t kValueWidth = 46;

bool WriteBigIni(const std::string& path, long sections) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    char name[32];
    char line[128];
    for (long i = 0; i < sections; ++i) {
        const long scrambled = (i * 7919) % 1000003;
        std::snprintf(name, sizeof name, "%s%07ld", kWords[scrambled % 8], scrambled);
        std::fprintf(out, "[%s]\r\n", name);
        for (int k = 1; k <= kKeysPerSection; ++k) {
            std::snprintf(line, sizeof line, "Value %d of %s", k, name);
            std::string value = line;
            if (value.size() < kValueWidth) value.append(kValueWidth - value.size(), '.');
            std::fprintf(out, "Key%d=%s\r\n", k, value.c_str());
        }
    }
    return std::fclose(out) == 0;
}

// Keeps each header as a view of the text, as the section list does.
class ViewSink : public ini::LineSink {
public:
    void Add(const std::string& line) override { owned.push_back(line), lines.push_back(owned.back()); }
    void AddText(std::string_view line) override { lines.push_back(line); }
    std::deque<std::string> owned;
    std::vector<std::string_view> lines;
};

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    bool madeHere = false;
    if (argc > 1) {
        path = argv[1];
    } else {
        path = (std::filesystem::temp_directory_path() / "keplin-bench.ini").string();
        if (!WriteBigIni(path, 100000)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        madeHere = true;
    }

    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);

    auto start = std::chrono::steady_clock::now();
    std::string text;
    if (!reference::ReadFileBytes(path, text)) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    const double readMs = MillisecondsSince(start);

    // The listing pass over the text in memory, its headers kept as views of
    // the text, as the section list keeps them.
    start = std::chrono::steady_clock::now();
    ini::IniText file;
    file.OpenBytes(text);
    ViewSink headers;
    ini::ListSectionHeaders(file, headers);
    file.Close();
    const double listMs = MillisecondsSince(start);

    // As the program lists a file: read a megabyte at a time into one
    // buffer, each piece given to the header stream.
    start = std::chrono::steady_clock::now();
    ViewSink streamed;
    std::string kept;
    {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (in == nullptr) return 1;
        std::string piece(1 << 20, '\0');
        ini::HeaderStream stream(streamed);
        for (std::size_t got; (got = std::fread(&piece[0], 1, piece.size(), in)) > 0;)
            stream.Feed(std::string_view(piece.data(), got));
        std::fclose(in);
        stream.Finish(testing_code_page::TestCodePage(), kept);
    }
    const double streamMs = MillisecondsSince(start);
    if (streamed.lines != headers.lines) {
        std::fprintf(stderr, "the streamed listing differs from the listing pass\n");
        return 1;
    }

    start = std::chrono::steady_clock::now();
    ini::SortIgnoringCase(headers.lines);
    const double sortMs = MillisecondsSince(start);

    std::printf("file:    %s (%llu bytes)\n", path.c_str(),
                error ? 0ULL : static_cast<unsigned long long>(bytes));
    std::printf("headers: %zu\n", headers.lines.size());
    std::printf("read:    %.1f ms (the whole file into memory)\n", readMs);
    std::printf("list:    %.1f ms (the listing pass over it)\n", listMs);
    std::printf("stream:  %.1f ms (read in pieces of 1 MB and listed, as the program lists a file)\n", streamMs);
    std::printf("sort:    %.1f ms\n", sortMs);
    if (madeHere) std::filesystem::remove(path, error);
    return 0;
}
