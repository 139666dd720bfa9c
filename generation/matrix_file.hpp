#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string_view>

namespace heptanote {

// The output file "matrix.txt" in the current folder, written through a bounded buffer.
// Lines are written as bytes with CR LF spelled out, so the file is the same on every platform.
//
// A write that fails removes the incomplete file before it throws, so no truncated result is
// left behind; so does destroying a file whose buffered bytes were never handed over.
// close() is the explicit finish step that reports failures; the destructor never throws.
class MatrixFile {
  public:
    // The call that hands bytes to the operating system; replaceable to provoke faults.
    using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);

    static constexpr const char* name = "matrix.txt";
    static constexpr std::size_t bufferSize = std::size_t{256} * 1024;

    // Creates "matrix.txt", or empties it if it exists. Throws FileError.
    explicit MatrixFile(WriteCall write = nullptr);
    ~MatrixFile();
    MatrixFile(const MatrixFile&) = delete;
    MatrixFile& operator=(const MatrixFile&) = delete;

    // Appends `text` and a line end. Throws FileError.
    void writeLine(std::string_view text);

    // Room for `size` bytes (at most bufferSize) at the end of the output, handing the
    // buffer over first when it lacks the room. The caller fills it and passes the end of what it
    // wrote to commit(). Throws FileError.
    char* reserve(std::size_t size) {
        if (static_cast<std::size_t>(end_ - next_) < size) drain();
        return next_;
    }
    void commit(char* end) noexcept { next_ = end; }

    // Hands every buffered byte to the operating system. Throws FileError.
    void flush();

    // Flushes and closes; the file is complete on disk once it returns. Throws FileError.
    void close();

  private:
    void drain();
    void handOver(const char* data, std::size_t size);
    [[noreturn]] void fail(int osErrorNumber, const char* action);
    void discard() noexcept;

    WriteCall write_;
    int fd_ = -1;
    bool regularFile_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::unique_ptr<char[]> buffer_;
    char* next_ = nullptr;
    char* end_ = nullptr;
};

}  // namespace heptanote
