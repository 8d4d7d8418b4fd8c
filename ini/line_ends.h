// Finding line ends fast: the one search for LF or CR that every pass over a
// file's text uses (the scanner, the reader's model), and for one byte.
// Portable: SSE2 where the processor has it, eight bytes at a time elsewhere
// (the C runtime Windows programs use looks at one byte at a time).
#pragma once
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ini {

// The first LF or CR in [at, end), or end.
inline const char* FindLineEnd(const char* at, const char* end) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    while (end - at >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr)));
        if (found != 0) return at + __builtin_ctz(static_cast<unsigned>(found));
        at += 16;
    }
#else
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    while (end - at >= 8) {
        std::uint64_t block;
        std::memcpy(&block, at, 8);
        const std::uint64_t x = block ^ (kOnes * '\n'), y = block ^ (kOnes * '\r');
        if ((((x - kOnes) & ~x) | ((y - kOnes) & ~y)) & kHighs) break;
        at += 8;
    }
#endif
    while (at < end && *at != '\n' && *at != '\r') ++at;
    return at;
}

// The first c in [at, end), or end.
inline const char* FindByte(const char* at, const char* end, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    while (end - at >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted));
        if (found != 0) return at + __builtin_ctz(static_cast<unsigned>(found));
        at += 16;
    }
#else
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    while (end - at >= 8) {
        std::uint64_t block;
        std::memcpy(&block, at, 8);
        const std::uint64_t x = block ^ (kOnes * static_cast<unsigned char>(c));
        if (((x - kOnes) & ~x) & kHighs) break;
        at += 8;
    }
#endif
    while (at < end && *at != c) ++at;
    return at;
}

}  // namespace ini
