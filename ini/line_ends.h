// Finding line ends fast: the one search for LF or CR that every pass over a
// file's text uses (the scanner, the reader's model), and for one byte.
// Portable: SSE2 where the processor has it, eight bytes at a time elsewhere
// (the C runtime Windows programs use looks at one byte at a time).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ini {

// The first a or b in [at, end), or end.
inline const char* FindEitherByte(const char* at, const char* end, char a, char b) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a), wantB = _mm_set1_epi8(b);
    while (end - at >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB)));
        if (found != 0) return at + __builtin_ctz(static_cast<unsigned>(found));
        at += 16;
    }
#else
    // A zero byte of block ^ (a in every byte) marks an a.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    const std::uint64_t everyA = kOnes * static_cast<unsigned char>(a), everyB = kOnes * static_cast<unsigned char>(b);
    while (end - at >= 8) {
        std::uint64_t block;
        std::memcpy(&block, at, 8);
        const std::uint64_t x = block ^ everyA, y = block ^ everyB;
        if ((((x - kOnes) & ~x) | ((y - kOnes) & ~y)) & kHighs) break;
        at += 8;
    }
#endif
    while (at < end && *at != a && *at != b) ++at;
    return at;
}

// The first LF or CR in [at, end), or end.
inline const char* FindLineEnd(const char* at, const char* end) { return FindEitherByte(at, end, '\n', '\r'); }

// The first c in [at, end), or end.
inline const char* FindByte(const char* at, const char* end, char c) { return FindEitherByte(at, end, c, c); }

// Past the line end at text[at] (LF, CR LF or a lone CR): where the next
// line begins; at itself at the end of the text.
inline std::size_t PastLineEnd(std::string_view text, std::size_t at) {
    if (at >= text.size()) return at;
    return at + (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1);
}

}  // namespace ini
