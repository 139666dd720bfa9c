#include "window/application.hpp"

#include "box_watcher.hpp"

#include <QEvent>
#include <QTest>

#include <stdexcept>

namespace heptanote {
namespace {

using testing::BoxWatcher;

// An object whose own event handling fails, outside any connected handler.
class FailingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::runtime_error("event went wrong");
        return QObject::event(event);
    }
};

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

  private slots:
    void aFailingEventIsReportedAndEndsTheProgram() {
        FailingObject object;
        BoxWatcher watcher([](QMessageBox& box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Heptanote"));
            QCOMPARE(box.text(),
                     QStringLiteral("Error 1000: Unexpected failure: event went wrong"));
        });
        QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
        QCOMPARE(QCoreApplication::exec(), 1);
        QVERIFY(watcher.seen());
    }
};

}  // namespace heptanote

// The test needs the program's own application object in place of Qt Test's.
int main(int argc, char** argv) {
    heptanote::Application application(argc, argv);
    heptanote::ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
