#include "generation/error.hpp"

#include <system_error>
#include <utility>

namespace heptanote {

Error::Error(int number, const std::string& description) : Error(number, description, description) {}

Error::Error(int number, std::string description, std::string message)
    : number_(number), description_(std::move(description)), message_(std::move(message)) {}

OverflowError::OverflowError()
    : Error(code, "Overflow: the number of sequences per line must lie between -32768 and 32767") {}

FileError::FileError(int osErrorNumber, std::string action, std::string fileName)
    : Error(osErrorNumber, std::generic_category().message(osErrorNumber),
            "Cannot " + action + " " + fileName + ": " +
                std::generic_category().message(osErrorNumber)),
      action_(std::move(action)),
      fileName_(std::move(fileName)) {}

}  // namespace heptanote
