#include "generation/matrix_file.hpp"

#include "generation/error.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace heptanote {

MatrixFile::MatrixFile(WriteCall write)
    : write_(write != nullptr ? write : &::write),
      buffer_(std::make_unique_for_overwrite<char[]>(bufferSize)),
      next_(buffer_.get()),
      end_(buffer_.get() + bufferSize) {
    do {
        fd_ = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) throw FileError(errno, "create", name);
    struct stat opened {};
    if (::fstat(fd_, &opened) == 0 && S_ISREG(opened.st_mode)) {
        regularFile_ = true;
        device_ = opened.st_dev;
        inode_ = opened.st_ino;
    }
}

MatrixFile::~MatrixFile() {
    if (fd_ < 0) return;
    if (next_ != buffer_.get()) discard();
    ::close(fd_);
}

void MatrixFile::writeLine(std::string_view text) {
    if (text.size() + 2 > bufferSize) {
        drain();
        handOver(text.data(), text.size());
        text = {};
    }
    char* out = reserve(text.size() + 2);
    out = std::copy(text.begin(), text.end(), out);
    *out++ = '\r';
    *out++ = '\n';
    commit(out);
}

void MatrixFile::flush() { drain(); }

void MatrixFile::close() {
    if (fd_ < 0) return;
    drain();
    // The descriptor is released even when close reports an error, so it is never retried.
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) {
        const int error = errno;
        discard();
        throw FileError(error, "close", name);
    }
}

void MatrixFile::drain() {
    const std::size_t size = static_cast<std::size_t>(next_ - buffer_.get());
    next_ = buffer_.get();
    handOver(buffer_.get(), size);
}

void MatrixFile::handOver(const char* data, std::size_t size) {
    if (fd_ < 0) fail(EBADF, "write");
    while (size > 0) {
        const ssize_t written = write_(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(errno, "write");
        }
        // A write that takes nothing would loop forever; the OS only does it when out of room.
        if (written == 0) fail(ENOSPC, "write");
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void MatrixFile::fail(int osErrorNumber, const char* action) {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    discard();
    throw FileError(osErrorNumber, action, name);
}

// Leaves no incomplete output that could pass for a result: the regular file that was opened is
// removed when "matrix.txt" names it directly, and emptied when it is reached through a symbolic
// link, which stays. Devices such as /dev/null are left alone.
void MatrixFile::discard() noexcept {
    next_ = buffer_.get();
    if (!regularFile_) return;
    struct stat named {};
    if (::lstat(name, &named) == 0 && named.st_dev == device_ && named.st_ino == inode_)
        ::unlink(name);
    else if (::stat(name, &named) == 0 && named.st_dev == device_ && named.st_ino == inode_)
        (void)::truncate(name, 0);
}

}  // namespace heptanote
