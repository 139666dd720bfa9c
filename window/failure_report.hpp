#pragma once

#include <exception>
#include <string>

class QWidget;

namespace heptanote {

// Numbers for failures that carry none of their own; above every operating system error number.
inline constexpr int unexpectedFailureNumber = 1000;  // a std::exception from outside the program
inline constexpr int unknownFailureNumber = 1001;     // anything else that was thrown

// The one line that names a failure: its number and description and, for a file, what could not
// be done with which file.
std::string failureText(const std::exception_ptr& failure);

// The one report of a failure: a line on standard error, then a modal box over `parent`, then, once
// the box is dismissed, the end of the program with status 1.
void reportFailure(const std::exception_ptr& failure, QWidget* parent) noexcept;

// Wraps a handler for connecting to a signal. Qt is built without exception support, so nothing
// may leave a handler into Qt's frames: what escapes goes to the report instead.
template <class Widget>
auto reportFailures(Widget* widget, void (Widget::*handler)()) {
    return [widget, handler]() noexcept {
        try {
            (widget->*handler)();
        } catch (...) {
            reportFailure(std::current_exception(), widget);
        }
    };
}

}  // namespace heptanote
