#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace heptanote {

// How one sequence is written: digits 1 to 7 from the outermost position, or note letters
// from the innermost position.
enum class SequenceStyle { Plain, Score };

// Sequences per line; 0 or below acts as 1.
using ColumnCount = std::int16_t;

// Sequences formed by one run: 7^7 when it completes.
using SequenceCount = std::int32_t;

inline constexpr SequenceCount sequencesPerRun = 7 * 7 * 7 * 7 * 7 * 7 * 7;

// The note of each value 1 to 7 (index 0 is value 1): the scale from C, not the alphabet.
inline constexpr std::array<std::string_view, 7> NoteNames{"C", "D", "E", "F", "G", "A", "B"};

}  // namespace heptanote
