#include "window/application.hpp"

#include "window/failure_report.hpp"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace heptanote {
namespace {

// Whether Qt will start on X, by its own rule: the -platform option, else QT_QPA_PLATFORM, else
// Wayland first in a Wayland session and X otherwise. A list with fallbacks is left to Qt.
bool startsOnX(int argc, char** argv) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "-platform" || option == "--platform") platform = argv[i + 1];
    }
    if (platform != nullptr && *platform != '\0') {
        const std::string_view name = platform;
        return name == "xcb" || name.starts_with("xcb:");
    }
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = std::getenv("WAYLAND_DISPLAY") != nullptr ||
                         (session != nullptr && std::string_view(session) == "wayland");
    return !wayland;
}

// Qt aborts when its X connection fails; a display that cannot be opened deserves one clear line
// and status 1 instead. Passes `argc` through so that it can run before QApplication is built.
int& withDisplayChecked(int& argc, char** argv) {
    if (!startsOnX(argc, argv)) return argc;
    const char* display = std::getenv("DISPLAY");
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "-display" || option == "--display") display = argv[i + 1];
    }
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (opened) return argc;
    if (display == nullptr || *display == '\0')
        std::fputs("heptanote: cannot open the display: DISPLAY is not set\n", stderr);
    else
        std::fprintf(stderr, "heptanote: cannot open the display %s\n", display);
    std::exit(1);
}

}  // namespace

Application::Application(int& argc, char** argv)
    : QApplication(withDisplayChecked(argc, argv), argv) {}

// A last safety net behind the wrapper that every connected handler has.
bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportFailure(std::current_exception(), activeWindow());
        return true;
    }
}

}  // namespace heptanote
