// Feeds readColumnCount arbitrary UTF-16 text and checks properties a wrong reader breaks.
// Input bytes below 0x80 stand for themselves, so seeds are plain text; a byte from 0x80 up takes
// the next two bytes as one UTF-16 unit (high byte first), which reaches every unit, lone
// surrogates included.
#include "generation/column_count.hpp"
#include "generation/error.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

using heptanote::readColumnCount;

std::u16string decode(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0x80) {
            text += static_cast<char16_t>(data[i]);
        } else if (i + 2 < size) {
            text += static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        }
    }
    return text;
}

// The value, or nothing for an OverflowError; any other exception escapes and is a finding.
std::optional<int> outcome(const std::u16string& text) {
    try {
        return readColumnCount(text);
    } catch (const heptanote::OverflowError&) {
        return std::nullopt;
    }
}

void check(bool property) {
    if (!property) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = decode(data, size);
    const std::optional<int> value = outcome(text);
    if (value) check(*value >= -32768 && *value <= 32767);

    // Blanks count for nothing, wherever they stand.
    const std::size_t at = size > 0 ? data[0] % (text.size() + 1) : 0;
    static constexpr char16_t blanks[] = {u' ', u'\t', u'\n'};
    for (const char16_t blank : blanks) {
        std::u16string spaced = text;
        spaced.insert(at, 1, blank);
        check(outcome(spaced) == value);
    }

    // A letter that continues no number changes nothing after the text.
    check(outcome(text + u"w") == value);

    // The decimal text of a value reads back as that value.
    if (value) {
        const std::string digits = std::to_string(*value);
        check(outcome(std::u16string(digits.begin(), digits.end())) == value);
    }
    return 0;
}
