#pragma once

#include <exception>
#include <string>

namespace heptanote {

// Every failure the program reports: a number and a description a user can read.
class Error : public std::exception {
  public:
    Error(int number, const std::string& description);

    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const char* what() const noexcept override { return message_.c_str(); }

  protected:
    Error(int number, std::string description, std::string message);

  private:
    int number_;
    std::string description_;
    std::string message_;
};

// A column count outside -32768..32767.
class OverflowError : public Error {
  public:
    static constexpr int code = 34;  // ERANGE, the usual number for a result out of range

    OverflowError();
};

// A failed call on the output file; keeps the operating system's error number from that call.
class FileError : public Error {
  public:
    // `action` says what could not be done, such as "create" or "write".
    FileError(int osErrorNumber, std::string action, std::string fileName);

    const std::string& action() const noexcept { return action_; }
    const std::string& fileName() const noexcept { return fileName_; }

  private:
    std::string action_;
    std::string fileName_;
};

}  // namespace heptanote
