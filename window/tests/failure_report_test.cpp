#include "window/failure_report.hpp"

#include "box_watcher.hpp"
#include "generation/error.hpp"
#include "table_rows.hpp"

#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QWidget>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <span>
#include <stdexcept>

namespace heptanote {
namespace {

using testing::BoxWatcher;

struct TextRow {
    const char* name;
    std::exception_ptr failure;
    const char* text;
};

std::span<const TextRow> textRows() {
    static const TextRow rows[] = {
        {"an error of the program", std::make_exception_ptr(Error(7, "Hand-made trouble")),
         "Error 7: Hand-made trouble"},
        {"a file that cannot be created",
         std::make_exception_ptr(FileError(EISDIR, "create", "matrix.txt")),
         "Error 21: Cannot create matrix.txt: Is a directory"},
        {"a file that cannot be written",
         std::make_exception_ptr(FileError(ENOSPC, "write", "matrix.txt")),
         "Error 28: Cannot write matrix.txt: No space left on device"},
        {"a standard exception", std::make_exception_ptr(std::runtime_error("disk on fire")),
         "Error 1000: Unexpected failure: disk on fire"},
        {"a standard exception over two lines",
         std::make_exception_ptr(std::runtime_error("disk\non fire")),
         "Error 1000: Unexpected failure: disk on fire"},
        {"something that is no exception", std::make_exception_ptr(42),
         "Error 1001: Unexpected failure of an unknown kind"},
    };
    return rows;
}

// Sends standard error to a file for as long as it lives.
class CapturedStandardError {
  public:
    CapturedStandardError() {
        file_.open();
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        ::dup2(file_.handle(), STDERR_FILENO);
    }
    ~CapturedStandardError() { restore(); }

    QByteArray text() {
        restore();
        file_.seek(0);
        return file_.readAll();
    }

  private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

    QTemporaryFile file_;
    int saved_ = -1;
};

// A window whose handler fails after making a local that must be gone before the report.
class FailingForm : public QWidget {
  public:
    void failingClick() {
        const Local local{this};
        throw std::runtime_error("disk on fire");
    }

    bool localAlive = false;

  private:
    struct Local {
        explicit Local(FailingForm* form) : form(form) { form->localAlive = true; }
        ~Local() { form->localAlive = false; }
        FailingForm* form;
    };
};

}  // namespace

class FailureReportTest : public QObject {
    Q_OBJECT

  private slots:
    void namesTheNumberAndTheDescription_data() { testing::addRows(textRows()); }

    void namesTheNumberAndTheDescription() {
        QFETCH(int, row);
        QCOMPARE(failureText(textRows()[row].failure), std::string(textRows()[row].text));
    }

    void whatEscapesAHandlerIsReportedAndEndsTheLoop() {
        FailingForm form;
        QPushButton button(&form);
        form.show();
        QObject::connect(&button, &QPushButton::clicked, &form,
                         reportFailures(&form, &FailingForm::failingClick));
        BoxWatcher watcher([&](QMessageBox& box) {
            QVERIFY2(!form.localAlive, "the handler's locals still live during the report");
            QCOMPARE(box.windowTitle(), QStringLiteral("Heptanote"));
            QCOMPARE(box.text(), QStringLiteral("Error 1000: Unexpected failure: disk on fire"));
            QCOMPARE(box.icon(), QMessageBox::Critical);
            QCOMPARE(box.windowModality(), Qt::ApplicationModal);
        });
        QTimer::singleShot(0, &button, &QPushButton::click);

        CapturedStandardError standardError;
        const int status = QCoreApplication::exec();
        const QByteArray written = standardError.text();

        QVERIFY(watcher.seen());
        QCOMPARE(status, 1);
        QVERIFY2(written.contains("heptanote: Error 1000: Unexpected failure: disk on fire\n"),
                 written.constData());
    }
};

}  // namespace heptanote

QTEST_MAIN(heptanote::FailureReportTest)
#include "failure_report_test.moc"
