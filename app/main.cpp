#include "window/application.hpp"
#include "window/form1.hpp"

#include <QIcon>

int main(int argc, char** argv) {
    heptanote::Application application(argc, argv);
    // The installed desktop entry's name and icon, so that desktops match the window to them.
    QGuiApplication::setDesktopFileName(QStringLiteral(HEPTANOTE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/" HEPTANOTE_APP_ID ".svg")));
    heptanote::Form1 form1;
    form1.show();
    return application.exec();
}
