#include "generation/column_count.hpp"

#include "generation/error.hpp"
#include "row_name.hpp"

#include <gtest/gtest.h>

#include <string>

namespace heptanote {
namespace {

struct Reading {
    const char* name;
    std::u16string text;
    int expected;
};

std::u16string repeated(char16_t c, std::size_t count) { return std::u16string(count, c); }

const Reading readings[] = {
    {"initial text", u"1", 1},
    {"fifteen", u"15", 15},
    {"empty", u"", 0},
    {"letters only", u"abc", 0},
    {"lone minus", u"-", 0},
    {"stops at a word", u"15 was used", 15},
    {"blank between digits", u"1 5", 15},
    {"blanks around", u" 7 ", 7},
    {"tab and line feed are blanks", u"\t1\n5\t", 15},
    {"carriage return ends the number", u"1\r5", 1},
    {"comma ends the number", u"12,5", 12},
    {"half rounds to even below", u"12.5", 12},
    {"half rounds to even above", u"13.5", 14},
    {"half of one rounds to zero", u"0.5", 0},
    {"one and a half", u"1.5", 2},
    {"two and a half", u"2.5", 2},
    {"minus two and a half", u"-2.5", -2},
    {"three and a half", u"3.5", 4},
    {"just above half", u"2.5000001", 3},
    {"no integer digits", u".6", 1},
    {"negative", u"-4", -4},
    {"plus sign", u"+7", 7},
    {"blank after the sign", u"- 5", -5},
    {"small negative rounds to zero", u"-0.4", 0},
    {"exponent", u"1e3", 1000},
    {"upper-case exponent", u"1E3", 1000},
    {"signed exponent", u"25e-1", 2},
    {"exponent with blanks", u"1 e 3", 1000},
    {"exponent without digits", u"7e", 7},
    {"exponent sign without digits", u"7e+", 7},
    {"D is no exponent", u"1d3", 1},
    {"largest", u"32767", 32767},
    {"largest with a fraction", u"32767.4", 32767},
    {"smallest", u"-32768", -32768},
    {"smallest and a half rounds to even", u"-32768.5", -32768},
    {"too small for a double", u"1e-400", 0},
    {"a thousand leading zeros", repeated(u'0', 1000) + u"15", 15},
    {"second period ends the number", u"1.2.3", 1},
    {"second sign ends the number", u"5-3", 5},
    {"two signs are no number", u"+-3", 0},
    {"C-style hexadecimal is not read", u"0x10", 0},
    {"full-width digits are no digits", u"\uFF11\uFF15", 0},
    {"hexadecimal", u"&H10", 16},
    {"hexadecimal of four digits is signed", u"&HFFFF", -1},
    {"hexadecimal smallest", u"&H8000", -32768},
    {"hexadecimal largest", u"&H7FFF", 32767},
    {"hexadecimal in lower case", u"&hff", 255},
    {"hexadecimal leading zeros are not digits of width", u"&H0000FFFF", -1},
    {"hexadecimal with blanks", u"& H 1 0", 16},
    {"hexadecimal stops at a non-digit", u"&H1G", 1},
    {"octal", u"&O17", 15},
    {"octal in lower case", u"&o17", 15},
    {"octal of sixteen bits is signed", u"&O177777", -1},
    {"octal stops at eight", u"&O18", 1},
    {"bare ampersand", u"&", 0},
    {"ampersand before digits", u"&12", 0},
    {"radix prefix without digits", u"&H", 0},
    {"sign before a radix prefix", u"-&H10", 0},
    {"a long paste after the number", u"15" + repeated(u'x', 100'000), 15},
    {"a long paste of blanks before the number", repeated(u' ', 100'000) + u"15", 15},
    {"control character before",
     u"\x01"
     u"15",
     0},
    {"control character after", u"15\x1B", 15},
    {"NUL inside",
     std::u16string(u"1\0"
                    u"5",
                    3),
     1},
    {"NUL first",
     std::u16string(u"\0"
                    u"15",
                    3),
     0},
    {"outside the basic plane before",
     u"\U0001D11E"
     u"15",
     0},
    {"outside the basic plane after", u"15\U0001D11E", 15},
    {"lone high surrogate", std::u16string{0xD800, u'1', u'5'}, 0},
    {"lone low surrogate after", std::u16string{u'1', u'5', 0xDC00}, 15},
    {"right-to-left mark before",
     u"\u200F"
     u"15",
     0},
    {"right-to-left mark between digits",
     u"1\u200F"
     u"5",
     1},
    {"no-break space is no blank",
     u"1\u00A0"
     u"5",
     1},
    {"Arabic-Indic digits are no digits", u"\u0661\u0665", 0},
};

class ReadColumnCount : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadColumnCount, GivesTheValueOfTheLongestNumberPrefix) {
    EXPECT_EQ(readColumnCount(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadColumnCount, ::testing::ValuesIn(readings),
                         testing::rowName<Reading>);

struct Overflow {
    const char* name;
    std::u16string text;
};

const Overflow overflows[] = {
    {"half above the largest", u"32767.5"},
    {"one above the largest", u"32768"},
    {"exponent", u"1e5"},
    {"one below the smallest", u"-32769"},
    {"window example", u"40000"},
    {"too large for a double", u"1e400"},
    {"too negative for a double", u"-1e400"},
    {"many digits before a small exponent", repeated(u'9', 500) + u"e-100"},
    {"a thousand digits", repeated(u'9', 1000)},
    {"a long paste of digits", repeated(u'7', 100'000)},
    {"hexadecimal wider than sixteen bits", u"&H10000"},
    {"hexadecimal of many digits", u"&H" + repeated(u'F', 100)},
    {"octal wider than sixteen bits", u"&O200000"},
};

class ReadColumnCountOverflow : public ::testing::TestWithParam<Overflow> {};

TEST_P(ReadColumnCountOverflow, RaisesOverflowError) {
    EXPECT_THROW(readColumnCount(GetParam().text), OverflowError);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadColumnCountOverflow, ::testing::ValuesIn(overflows),
                         testing::rowName<Overflow>);

}  // namespace
}  // namespace heptanote
