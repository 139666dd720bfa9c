#include "generation/matrix_file.hpp"

#include "generation/error.hpp"
#include "row_name.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace heptanote {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

// Hands over every call but one, which fails with `error`; counts the calls.
struct Fault {
    int failingCall = 0;
    int error = 0;
    int calls = 0;
};
Fault fault;

ssize_t faultyWrite(int fd, const void* data, std::size_t size) {
    if (++fault.calls == fault.failingCall) {
        errno = fault.error;
        return -1;
    }
    return ::write(fd, data, size);
}

// Takes at most five bytes a call and is interrupted every other call, as a pipe or a signal
// may make a real write do.
ssize_t grudgingWrite(int fd, const void* data, std::size_t size) {
    if (++fault.calls % 2 == 0) {
        errno = EINTR;
        return -1;
    }
    return ::write(fd, data, std::min<std::size_t>(size, 5));
}

struct Lines {
    const char* name;
    std::vector<std::string> lines;
    std::string expected;
};

const Lines lineCases[] = {
    {"no line", {}, ""},
    {"one line", {"abc"}, "abc\r\n"},
    {"empty lines", {"", ""}, "\r\n\r\n"},
    {"line ends are not translated", {"a\nb"}, "a\nb\r\n"},
    {"longer than the buffer",
     {std::string(MatrixFile::bufferSize + 3, 'x'), "y"},
     std::string(MatrixFile::bufferSize + 3, 'x') + "\r\ny\r\n"},
};

class MatrixFileLines : public ::testing::TestWithParam<Lines> {};

TEST_P(MatrixFileLines, WritesEachLineAsBytesEndedByCarriageReturnAndLineFeed) {
    TempFolder folder;
    MatrixFile file;
    for (const std::string& line : GetParam().lines) file.writeLine(line);
    file.close();
    EXPECT_EQ(readFile("matrix.txt"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MatrixFileLines, ::testing::ValuesIn(lineCases),
                         testing::rowName<Lines>);

TEST(MatrixFile, ReplacesAnExistingFile) {
    TempFolder folder;
    writeFile("matrix.txt", "an older and much longer result\r\n");
    MatrixFile file;
    file.writeLine("new");
    file.close();
    EXPECT_EQ(readFile("matrix.txt"), "new\r\n");
}

TEST(MatrixFile, FailsToCreateWhereAFolderHasTheName) {
    TempFolder folder;
    fs::create_directory("matrix.txt");
    try {
        MatrixFile file;
        FAIL() << "opened a folder for writing";
    } catch (const FileError& error) {
        EXPECT_EQ(error.number(), EISDIR);
        EXPECT_EQ(error.action(), "create");
        EXPECT_EQ(error.fileName(), "matrix.txt");
    }
    EXPECT_TRUE(fs::is_directory("matrix.txt"));
}

TEST(MatrixFile, ReportsAFullDeviceAtTheFlushAndKeepsTheLink) {
    TempFolder folder;
    fs::create_symlink("/dev/full", "matrix.txt");
    MatrixFile file;
    file.writeLine("1111111  ");
    try {
        file.flush();
        FAIL() << "a write to /dev/full succeeded";
    } catch (const FileError& error) {
        EXPECT_EQ(error.number(), ENOSPC);
        EXPECT_EQ(error.description(), "No space left on device");
        EXPECT_EQ(error.action(), "write");
    }
    EXPECT_TRUE(fs::is_symlink("matrix.txt"));
}

TEST(MatrixFile, RemovesTheIncompleteFileWhenAWriteFails) {
    TempFolder folder;
    fault = {.failingCall = 2, .error = EIO};
    MatrixFile file(faultyWrite);
    const std::string line(MatrixFile::bufferSize / 2, 'x');
    try {
        for (int i = 0; i < 8; ++i) file.writeLine(line);
        FAIL() << "the failing write went unnoticed";
    } catch (const FileError& error) {
        EXPECT_EQ(error.number(), EIO);
    }
    EXPECT_EQ(fault.calls, 2);
    EXPECT_FALSE(fs::exists(fs::symlink_status("matrix.txt")));
}

TEST(MatrixFile, EmptiesAnIncompleteFileReachedThroughALinkAndKeepsTheLink) {
    TempFolder folder;
    writeFile("target.txt", "old");
    fs::create_symlink("target.txt", "matrix.txt");
    fault = {.failingCall = 2, .error = EIO};
    MatrixFile file(faultyWrite);
    file.writeLine(std::string(MatrixFile::bufferSize, 'x'));
    EXPECT_THROW(file.close(), FileError);
    EXPECT_TRUE(fs::is_symlink("matrix.txt"));
    EXPECT_EQ(readFile("target.txt"), "");
}

TEST(MatrixFile, CompletesTheFileThroughShortAndInterruptedWrites) {
    TempFolder folder;
    fault = {};
    MatrixFile file(grudgingWrite);
    file.writeLine("1111111  2222222  ");
    file.writeLine("7777777  ");
    file.close();
    EXPECT_EQ(readFile("matrix.txt"), "1111111  2222222  \r\n7777777  \r\n");
}

TEST(MatrixFile, RemovesAFileDroppedBeforeItsBytesWereHandedOver) {
    TempFolder folder;
    { MatrixFile(nullptr).writeLine("never handed over"); }
    EXPECT_FALSE(fs::exists("matrix.txt"));
}

TEST(MatrixFile, KeepsAFlushedFileThatIsDroppedWithoutClosing) {
    TempFolder folder;
    {
        MatrixFile file;
        file.writeLine("kept");
        file.flush();
    }
    EXPECT_EQ(readFile("matrix.txt"), "kept\r\n");
}

}  // namespace
}  // namespace heptanote
