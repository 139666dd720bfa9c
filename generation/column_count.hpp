#pragma once

#include "generation/sequence_types.hpp"

#include <string_view>

namespace heptanote {

// Reads the number at the start of `text` as a column count, leniently: blanks (space, tab,
// line feed) are ignored anywhere, reading stops at the first character that cannot continue
// a number, and text without a number reads as 0. Accepts a sign, decimals, an exponent and the
// prefixes &H (hexadecimal) and &O (octal). The value is rounded half to even.
// Throws OverflowError when the rounded value lies outside -32768..32767.
ColumnCount readColumnCount(std::u16string_view text);

}  // namespace heptanote
