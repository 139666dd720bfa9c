#pragma once

#include <QApplication>

namespace heptanote {

// The program's application object. It makes sure the X display opens before Qt tries it, and it
// reports whatever escapes an event handler that bypassed the failure wrapper.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace heptanote
