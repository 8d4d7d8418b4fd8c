// What "on" means differs by use: a hand-edited value such as 2 is on where
// the program tests for non-zero, and off where it tests for exactly 1.
#pragma once
#include <cstdint>

namespace base {

// Check marks at start, Alphabetize everywhere, the start-up Read Only lock.
constexpr bool IsExactlyOn(int32_t value) { return value == 1; }

// Read Only in the section view and file dialog, Backup before writes, the toggles.
constexpr bool IsNonZeroOn(int32_t value) { return value != 0; }

// Alphabetize and Backup toggle their lowest bit.
constexpr int32_t FlipLowestBit(int32_t value) { return value ^ 1; }

}  // namespace base
