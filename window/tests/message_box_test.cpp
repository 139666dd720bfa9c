#include "window/message_box.hpp"

#include "box_watcher.hpp"
#include "table_rows.hpp"

#include <QTest>
#include <QWidget>

namespace heptanote {
namespace {

using testing::BoxWatcher;

struct IconRow {
    const char* name;
    MessageIcon icon;
    QMessageBox::Icon shown;
};

const IconRow iconRows[] = {
    {"a result", MessageIcon::None, QMessageBox::NoIcon},
    {"a failure", MessageIcon::Critical, QMessageBox::Critical},
};

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void showsAModalBoxWithOnlyOkAndReturnsWhenDismissed_data() { testing::addRows(iconRows); }

    void showsAModalBoxWithOnlyOkAndReturnsWhenDismissed() {
        QFETCH(int, row);
        QWidget window;
        window.show();
        bool returned = false;
        BoxWatcher watcher([&](QMessageBox& box) {
            QVERIFY(!returned);
            QCOMPARE(box.windowTitle(), QStringLiteral("Heptanote"));
            QCOMPARE(box.text(), QStringLiteral("Hand-made text"));
            QCOMPARE(box.icon(), iconRows[row].shown);
            QCOMPARE(box.buttons().size(), 1);
            QCOMPARE(box.standardButton(box.buttons().front()), QMessageBox::Ok);
            QCOMPARE(box.windowModality(), Qt::ApplicationModal);
            QCOMPARE(box.parentWidget(), &window);
        });
        showMessage(iconRows[row].icon, QStringLiteral("Hand-made text"), &window);
        returned = true;
        QVERIFY(watcher.seen());
    }
};

}  // namespace heptanote

QTEST_MAIN(heptanote::MessageBoxTest)
#include "message_box_test.moc"
