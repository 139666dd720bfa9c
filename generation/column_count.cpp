#include "generation/column_count.hpp"

#include "generation/error.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace heptanote {

namespace {

// Walks the text as though blanks were not there.
class Reader {
  public:
    explicit Reader(std::u16string_view text) : text_(text) { skipBlanks(); }

    char16_t peek() const { return at_ < text_.size() ? text_[at_] : u'\0'; }
    bool atEnd() const { return at_ >= text_.size(); }
    void next() {
        ++at_;
        skipBlanks();
    }
    bool take(char16_t lower) {
        if (atEnd() || (peek() | 0x20) != lower) return false;
        next();
        return true;
    }

  private:
    void skipBlanks() {
        while (at_ < text_.size() &&
               (text_[at_] == u' ' || text_[at_] == u'\t' || text_[at_] == u'\n'))
            ++at_;
    }

    std::u16string_view text_;
    std::size_t at_ = 0;
};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int digitValue(char16_t c, int radix) {
    if (isDigit(c)) return c - u'0' < radix ? c - u'0' : -1;
    if (radix == 16 && (c | 0x20) >= u'a' && (c | 0x20) <= u'f') return (c | 0x20) - u'a' + 10;
    return -1;
}

// A &H or &O number: the value's bit pattern fills a 16-bit word, so &HFFFF is -1;
// anything wider than 16 bits cannot be a column count.
ColumnCount readRadix(Reader& reader, int radix) {
    std::uint32_t value = 0;
    bool wide = false;
    for (int digit; !reader.atEnd() && (digit = digitValue(reader.peek(), radix)) >= 0;
         reader.next()) {
        value = value * radix + digit;
        if (value > 0xFFFF) {
            wide = true;
            value = 0;
        }
    }
    if (wide) throw OverflowError();
    return static_cast<ColumnCount>(static_cast<std::uint16_t>(value));
}

// Copies the longest decimal number at the reader into `number` as plain ASCII, and returns the
// power of ten of its leading digit, which tells a number too large for a double from one too
// small (both are out of range for from_chars).
long long takeDecimal(Reader& reader, std::string& number) {
    if (reader.peek() == u'+' || reader.peek() == u'-') {
        number += static_cast<char>(reader.peek());
        reader.next();
    }
    long long integerDigits = 0;
    long long leadingZeros = 0;
    bool significant = false;
    auto takeDigits = [&](bool fraction) {
        for (; isDigit(reader.peek()); reader.next()) {
            const char digit = static_cast<char>(reader.peek());
            if (digit != '0') significant = true;
            if (!fraction && significant) ++integerDigits;
            if (fraction && !significant) ++leadingZeros;
            number += digit;
        }
    };
    takeDigits(false);
    if (reader.peek() == u'.') {
        number += '.';
        reader.next();
        takeDigits(true);
    }
    if ((reader.peek() | 0x20) == u'e' && number.find_first_of("0123456789") != std::string::npos) {
        std::string exponent = "e";
        reader.next();
        if (reader.peek() == u'+' || reader.peek() == u'-') {
            exponent += static_cast<char>(reader.peek());
            reader.next();
        }
        long long power = 0;
        for (; isDigit(reader.peek()); reader.next()) {
            exponent += static_cast<char>(reader.peek());
            power = std::min<long long>(power * 10 + (reader.peek() - u'0'), 1'000'000'000);
        }
        // An exponent without digits is no part of the number.
        if (std::isdigit(static_cast<unsigned char>(exponent.back()))) {
            number += exponent;
            return (exponent[1] == '-' ? -power : power) + integerDigits - leadingZeros;
        }
    }
    return integerDigits - leadingZeros;
}

ColumnCount roundToColumnCount(double value) {
    // Half to even, written out so that it does not depend on the floating-point rounding mode.
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole < std::numeric_limits<ColumnCount>::min() ||
        whole > std::numeric_limits<ColumnCount>::max())
        throw OverflowError();
    return static_cast<ColumnCount>(whole);
}

}  // namespace

ColumnCount readColumnCount(std::u16string_view text) {
    Reader reader(text);
    if (reader.peek() == u'&') {
        reader.next();
        if (reader.take(u'h')) return readRadix(reader, 16);
        if (reader.take(u'o')) return readRadix(reader, 8);
        return 0;
    }
    std::string number;
    const long long magnitude = takeDecimal(reader, number);
    if (number.find_first_of("0123456789") == std::string::npos) return 0;

    const char* first = number.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0) throw OverflowError();
        return 0;  // too small for a double: rounds to zero like any tiny number
    }
    return roundToColumnCount(value);
}

}  // namespace heptanote
