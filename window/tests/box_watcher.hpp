#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace heptanote::testing {

// Catches the next message box on the event loop that the box itself runs, hands it to `inspect`
// while it is shown, then clicks its OK button as a user would. A box without one is closed all
// the same, so that a fault fails the test instead of hanging it.
class BoxWatcher {
  public:
    explicit BoxWatcher(std::function<void(QMessageBox&)> inspect) : inspect_(std::move(inspect)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { check(); });
        timer_.start(0);
    }

    bool seen() const { return seen_; }

  private:
    void check() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        timer_.stop();
        seen_ = true;
        inspect_(*box);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            box->reject();
    }

    std::function<void(QMessageBox&)> inspect_;
    QTimer timer_;
    bool seen_ = false;
};

}  // namespace heptanote::testing
