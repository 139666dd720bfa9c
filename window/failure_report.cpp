#include "window/failure_report.hpp"

#include "generation/error.hpp"
#include "window/message_box.hpp"

#include <QCoreApplication>
#include <QString>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace heptanote {

std::string failureText(const std::exception_ptr& failure) {
    std::string text;
    try {
        std::rethrow_exception(failure);
    } catch (const FileError& error) {
        text = "Error " + std::to_string(error.number()) + ": Cannot " + error.action() + " " +
               error.fileName() + ": " + error.description();
    } catch (const Error& error) {
        text = "Error " + std::to_string(error.number()) + ": " + error.description();
    } catch (const std::exception& error) {
        text = "Error " + std::to_string(unexpectedFailureNumber) +
               ": Unexpected failure: " + error.what();
    } catch (...) {
        text = "Error " + std::to_string(unknownFailureNumber) +
               ": Unexpected failure of an unknown kind";
    }
    // Kept to one line so that standard error shows it as one.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

void reportFailure(const std::exception_ptr& failure, QWidget* parent) noexcept {
    const std::string text = failureText(failure);
    std::fprintf(stderr, "heptanote: %s\n", text.c_str());
    showMessage(MessageIcon::Critical, QString::fromStdString(text), parent);
    // Ending through the event loop lets main's objects close down in order; without a running
    // loop there is nobody to return to.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(1);
    else
        std::exit(1);
}

}  // namespace heptanote
