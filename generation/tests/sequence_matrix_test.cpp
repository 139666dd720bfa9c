#include "generation/sequence_matrix.hpp"

#include "generation/error.hpp"
#include "generation/matrix_file.hpp"
#include "row_name.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>

namespace heptanote {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;

// Sequence n by its positions: P1 = 1 + (n / 7^6 mod 7), ..., P7 = 1 + (n mod 7).
std::string expectedText(int n, SequenceStyle style) {
    std::string plain;
    for (int power = 7 * 7 * 7 * 7 * 7 * 7; power >= 1; power /= 7)
        plain += static_cast<char>('0' + 1 + n / power % 7);
    if (style == SequenceStyle::Plain) return plain;
    std::string score;
    for (auto digit = plain.rbegin(); digit != plain.rend(); ++digit)
        score += "CDEFGAB"[*digit - '1'];
    return score;
}

// Checks every line and every sequence of `file` against the position formula.
::testing::AssertionResult holdsEverySequence(std::string_view file, int columns,
                                              SequenceStyle style) {
    const int perLine = std::max(columns, 1);
    int n = 0;
    int line = 0;
    while (!file.empty()) {
        const auto end = file.find("\r\n");
        if (end == std::string_view::npos)
            return ::testing::AssertionFailure() << "line " << line << " has no line end";
        std::string_view text = file.substr(0, end);
        const int expected = std::min(perLine, 823543 - n);
        if (text.size() != static_cast<std::size_t>(expected) * 9)
            return ::testing::AssertionFailure() << "line " << line << " holds " << text.size()
                                                 << " characters, not " << expected << " sequences";
        for (; !text.empty(); text.remove_prefix(9), ++n) {
            if (text.substr(0, 9) != expectedText(n, style) + "  ")
                return ::testing::AssertionFailure()
                       << "sequence " << n << " is '" << text.substr(0, 9) << "'";
        }
        file.remove_prefix(end + 2);
        ++line;
    }
    if (n != 823543) return ::testing::AssertionFailure() << "only " << n << " sequences";
    return ::testing::AssertionSuccess();
}

struct Layout {
    const char* name;
    int columns;
    SequenceStyle style;
    std::size_t lines;
    std::size_t bytes;
    std::string_view firstLine;
    std::string_view lastLine;
};

constexpr auto Plain = SequenceStyle::Plain;
constexpr auto Score = SequenceStyle::Score;

const Layout layouts[] = {
    {"one plain", 1, Plain, 823543, 9058973, "1111111  ", "7777777  "},
    {"one score", 1, Score, 823543, 9058973, "CCCCCCC  ", "BBBBBBB  "},
    {"zero acts as one", 0, Plain, 823543, 9058973, "1111111  ", "7777777  "},
    {"negative acts as one", -1, Score, 823543, 9058973, "CCCCCCC  ", "BBBBBBB  "},
    {"smallest acts as one", -32768, Plain, 823543, 9058973, "1111111  ", "7777777  "},
    {"three plain", 3, Plain, 274515, 7960917, "1111111  1111112  1111113  ", "7777777  "},
    {"three score", 3, Score, 274515, 7960917, "CCCCCCC  DCCCCCC  ECCCCCC  ", "BBBBBBB  "},
    {"seven score", 7, Score, 117649, 7647185,
     "CCCCCCC  DCCCCCC  ECCCCCC  FCCCCCC  GCCCCCC  ACCCCCC  BCCCCCC  ",
     "CBBBBBB  DBBBBBB  EBBBBBB  FBBBBBB  GBBBBBB  ABBBBBB  BBBBBBB  "},
    {"fifteen plain", 15, Plain, 54903, 7521693, "", ""},
    {"fifteen score", 15, Score, 54903, 7521693, "", ""},
    {"largest plain", 32767, Plain, 26, 7411939, "", ""},
    {"largest score", 32767, Score, 26, 7411939, "", ""},
};

class WriteSequenceMatrix : public ::testing::TestWithParam<Layout> {};

TEST_P(WriteSequenceMatrix, WritesEverySequenceInOrderGroupedIntoLines) {
    const Layout& run = GetParam();
    TempFolder folder;
    MatrixFile file;
    EXPECT_EQ(writeSequenceMatrix(file, static_cast<ColumnCount>(run.columns), run.style), 823543);
    file.close();

    const std::string bytes = readFile("matrix.txt");
    EXPECT_EQ(bytes.size(), run.bytes);
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    EXPECT_EQ(lines, run.lines);
    if (!run.firstLine.empty()) {
        EXPECT_EQ(bytes.substr(0, run.firstLine.size() + 2), std::string(run.firstLine) + "\r\n");
        const std::string last = std::string(run.lastLine) + "\r\n";
        EXPECT_EQ(bytes.substr(bytes.size() - last.size()), last);
        EXPECT_EQ(bytes.find(std::string("\n") + last), bytes.size() - last.size() - 1);
    }
    EXPECT_TRUE(holdsEverySequence(bytes, run.columns, run.style));
}

INSTANTIATE_TEST_SUITE_P(Columns, WriteSequenceMatrix, ::testing::ValuesIn(layouts),
                         testing::rowName<Layout>);

TEST(WriteSequenceMatrix, FifteenLinesAreOf137BytesAndTheLastHoldsThirteen) {
    TempFolder folder;
    MatrixFile file;
    writeSequenceMatrix(file, 15, Plain);
    file.close();
    const std::string bytes = readFile("matrix.txt");
    for (std::size_t at = 0; at + 137 < bytes.size(); at += 137)
        ASSERT_EQ(bytes.substr(at + 135, 2), "\r\n") << "line at byte " << at;
    EXPECT_EQ(bytes.size() - 54902 * 137, 13 * 9 + 2);
}

TEST(WriteSequenceMatrix, ReportsAFullDeviceInsteadOfACount) {
    TempFolder folder;
    fs::create_symlink("/dev/full", "matrix.txt");
    MatrixFile file;
    try {
        writeSequenceMatrix(file, 15, Score);
        FAIL() << "a run into /dev/full returned its count";
    } catch (const FileError& error) {
        EXPECT_EQ(error.number(), ENOSPC);
        EXPECT_EQ(error.fileName(), "matrix.txt");
    }
}

int writeCalls = 0;
int failingCall = 0;

ssize_t countingWrite(int fd, const void* data, std::size_t size) {
    if (++writeCalls == failingCall) {
        errno = EIO;
        return -1;
    }
    return ::write(fd, data, size);
}

// Fails the hand-over at each point of a run in turn, the final flush included.
TEST(WriteSequenceMatrix, FailsAtEveryHandOverWithoutACountOrAFileLeft) {
    TempFolder folder;
    writeCalls = 0;
    failingCall = 0;
    {
        MatrixFile file(countingWrite);
        writeSequenceMatrix(file, 1, Score);
        file.close();
    }
    const int handOvers = writeCalls;
    ASSERT_GE(handOvers, static_cast<int>(9058973 / MatrixFile::bufferSize));

    for (failingCall = 1; failingCall <= handOvers; ++failingCall) {
        writeCalls = 0;
        MatrixFile file(countingWrite);
        bool counted = false;
        try {
            writeSequenceMatrix(file, 1, Score);
            counted = true;
        } catch (const FileError& error) {
            EXPECT_EQ(error.number(), EIO);
        }
        EXPECT_FALSE(counted) << "hand-over " << failingCall << " failed but the run counted";
        EXPECT_FALSE(fs::exists(fs::symlink_status("matrix.txt")))
            << "hand-over " << failingCall << " left a file";
        EXPECT_EQ(writeCalls, failingCall) << "the run went on after a failed hand-over";
    }
}

}  // namespace
}  // namespace heptanote
