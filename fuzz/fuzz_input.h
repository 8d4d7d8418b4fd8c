// Helpers shared by the fuzz targets: turning the fuzzer's bytes into the
// inputs of the code under test.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzz {

// Stops the run with a message: libFuzzer keeps the input as a finding.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) ::fuzz::Fail(#condition); \
    } while (0)

// Splits the input into pieces at a separator byte (0xFF), so that one input
// can carry several texts (a file and a search text, a directory and a name).
class Pieces {
public:
    Pieces(const uint8_t* data, size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}
    std::string Next() {
        const size_t cut = rest_.find('\xff');
        std::string piece(rest_.substr(0, cut));
        rest_ = cut == std::string_view::npos ? std::string_view() : rest_.substr(cut + 1);
        return piece;
    }
    bool Empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// A file of these bytes for the passes that read a path; one per process,
// rewritten for every input.
inline const std::string& WriteScratchFile(std::string_view bytes) {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir != nullptr ? dir : "/tmp") + "/keplin-fuzz-" +
                        std::to_string(static_cast<long>(getpid())) + ".ini";
        return p;
    }();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) Fail("cannot write the scratch file");
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        Fail("short write of the scratch file");
    std::fclose(file);
    return path;
}

}  // namespace fuzz
