#include "generation/error.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace heptanote {
namespace {

TEST(FileError, KeepsTheOperatingSystemsNumberAndTextAndNamesTheFile) {
    const FileError error(ENOSPC, "write", "matrix.txt");
    EXPECT_EQ(error.number(), ENOSPC);
    EXPECT_EQ(error.description(), "No space left on device");
    EXPECT_EQ(error.fileName(), "matrix.txt");
    EXPECT_EQ(error.action(), "write");
    EXPECT_STREQ(error.what(), "Cannot write matrix.txt: No space left on device");
}

TEST(OverflowError, IsAnErrorWithItsOwnNumberAndAPlainDescription) {
    const OverflowError overflow;
    const Error& error = overflow;
    EXPECT_EQ(error.number(), ERANGE);
    EXPECT_NE(error.description().find("-32768 and 32767"), std::string::npos);
    EXPECT_EQ(error.description(), error.what());
}

}  // namespace
}  // namespace heptanote
