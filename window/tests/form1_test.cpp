#include "window/form1.hpp"

#include "box_watcher.hpp"
#include "table_rows.hpp"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own count; declared here as GCC installs no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace heptanote {
namespace {

namespace fs = std::filesystem;
using testing::BoxWatcher;

// How many of this process's descriptors are open on `file`.
int descriptorsOn(const fs::path& file) {
    const fs::path target = fs::absolute(file);
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code gone;  // the listing's own descriptor is closed by the time it is read
        if (fs::read_symlink(entry.path(), gone) == target) ++count;
    }
    return count;
}

// How many descriptors this process has open, the listing's own among them.
int openDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const fs::directory_entry& entry :
         fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// Bytes of heap in use as the allocator counts them: glibc's, or the sanitizer's that replaces it
// and leaves glibc's figures at nothing.
std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
#endif
}

// In one read: going through it a character at a time is slow under the sanitizers.
std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string text(std::size_t(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(text.data(), std::streamsize(text.size()));
    return text;
}

// The first line with its line end.
std::string firstLine(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line + '\n';
}

// The width the control needs to show its whole caption.
int captionWidth(const QWidget& control) {
    if (const auto* button = qobject_cast<const QPushButton*>(&control))
        return button->fontMetrics().horizontalAdvance(button->text());
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->fontMetrics().horizontalAdvance(edit->text());
    return control.sizeHint().width();
}

QString caption(const QWidget& control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) return edit->text();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    return {};
}

struct ControlRow {
    const char* name;
    const char* caption;
    QRect geometry;
};

const ControlRow controlRows[] = {
    {"Command1", "go", {20, 127, 73, 24}},
    {"Check1", "Print Sequences", {26, 25, 122, 21}},
    {"Check2", "Print Score Sequences", {25, 51, 164, 17}},
    {"Text1", "1", {22, 82, 51, 23}},
    {"Label1", "Colls (15 was used)", {83, 85, 126, 17}},
};

// Steps: 1 and 2 click Check1 and Check2 with the mouse; a and b check them from the program.
struct CheckRow {
    const char* name;
    const char* steps;
    bool check1;
    bool check2;
    const char* firstLine;
};

const CheckRow checkRows[] = {
    {"as started", "", false, true, "CCCCCCC  \r\n"},
    {"checking Print Sequences unchecks the other", "1", true, false, "1111111  \r\n"},
    {"unchecking Print Score Sequences leaves both off", "2", false, false, "1111111  \r\n"},
    {"checking Print Score Sequences again unchecks the other", "12", false, true, "CCCCCCC  \r\n"},
    {"unchecking Print Sequences leaves both off", "11", false, false, "1111111  \r\n"},
    {"from both off, Print Sequences", "21", true, false, "1111111  \r\n"},
    {"from both off, Print Score Sequences", "22", false, true, "CCCCCCC  \r\n"},
    {"back and forth", "121", true, false, "1111111  \r\n"},
    {"the program checking Check1 unchecks Check2", "a", true, false, "1111111  \r\n"},
    {"the program checking Check2 unchecks Check1", "1b", false, true, "CCCCCCC  \r\n"},
};

// The file for each number of sequences per line, worked out by hand from the 823,543 sequences
// of 9 bytes and a 2-byte line end per line.
struct Layout {
    int perLine;
    std::uintmax_t bytes;
    std::ptrdiff_t lines;
};

const Layout layouts[] = {
    {1, 9'058'973, 823'543}, {3, 7'960'917, 274'515}, {7, 7'647'185, 117'649},
    {15, 7'521'693, 54'903}, {32767, 7'411'939, 26},
};

// The layout for a column count as read; 0 or less counts as 1.
const Layout& layoutFor(int columns) {
    const int perLine = std::max(columns, 1);
    for (const Layout& layout : layouts)
        if (layout.perLine == perLine) return layout;
    qFatal("no known layout for %d per line", perLine);
}

// A paste of one hostile character between two pieces of text, and the count it reads as.
struct CharacterRow {
    const char* name;
    const char16_t* before;
    char32_t character;
    const char16_t* after;
    int reads;
};

const CharacterRow characterRows[] = {
    {"a tab between the digits is a blank", u"1", U'\t', u"5", 15},
    {"a line feed between the digits is a blank", u"1", U'\n', u"5", 15},
    {"a carriage return is no blank: it ends the number", u"3", U'\r', u"5", 3},
    {"a control character first: no number", u"", 0x01, u"15", 0},
    {"an escape ends the number", u"3", 0x1B, u"5", 3},
    {"a NUL ends the number", u"3", 0x00, u"5", 3},
    {"a character outside the Basic Multilingual Plane ends the number", u"3", 0x1D11E, u"5", 3},
    {"a bold digit outside the Basic Multilingual Plane is no digit", u"", 0x1D7D1, u"15", 0},
    {"a lone high surrogate ends the number", u"3", 0xD834, u"5", 3},
    {"a lone low surrogate first: no number", u"", 0xDD1E, u"15", 0},
    {"a right-to-left mark first: no number", u"", 0x200F, u"15", 0},
    {"a right-to-left mark ends the number", u"3", 0x200F, u"5", 3},
    {"a right-to-left override first: no number", u"", 0x202E, u"15", 0},
    {"Arabic-Indic digits are no digits", u"", 0x0661, u"\u0665", 0},
};

QString pastedText(const CharacterRow& row) {
    QString text = QString::fromUtf16(row.before);
    // A code unit of its own, so that a surrogate stays alone.
    if (row.character <= 0xFFFF)
        text += QChar(char16_t(row.character));
    else
        text += QString::fromUcs4(&row.character, 1);
    return text + QString::fromUtf16(row.after);
}

struct KeyRow {
    const char* name;
    Qt::Key key;
};

const KeyRow keyRows[] = {
    {"Return", Qt::Key_Return},
    {"Enter", Qt::Key_Enter},
    {"Space", Qt::Key_Space},
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        previous_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder_->path()));
        form_ = std::make_unique<Form1>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

    void cleanup() {
        form_.reset();
        QDir::setCurrent(previous_);
        folder_.reset();
    }

    void windowHasItsCaptionAndAFixedSize() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Score print"));
        QCOMPARE(form_->size(), QSize(312, 202));
        QCOMPARE(form_->minimumSize(), QSize(312, 202));
        QCOMPARE(form_->maximumSize(), QSize(312, 202));
    }

    void controlsStandWhereDesigned_data() { testing::addRows(controlRows); }

    void controlsStandWhereDesigned() {
        QFETCH(int, row);
        const ControlRow& expected = controlRows[row];
        auto* control = form_->findChild<QWidget*>(expected.name);
        QVERIFY(control != nullptr);
        QCOMPARE(caption(*control), QString::fromLatin1(expected.caption));
        QCOMPARE(control->geometry(), expected.geometry);
        QVERIFY2(captionWidth(*control) <= control->width(), "the caption is cut off");
    }

    void startsWithScoreChosenAndTheButtonFocused() {
        QVERIFY(!control<QCheckBox>("Check1")->isChecked());
        QVERIFY(control<QCheckBox>("Check2")->isChecked());
        QVERIFY(!control<QLineEdit>("Text1")->isReadOnly());
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>("Command1"));
    }

    void tabVisitsTheControlsInOrder() {
        const char* const order[] = {"Check1", "Check2", "Text1", "Command1"};
        for (const char* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
        }
    }

    void label1NamesText1() {
        QCOMPARE(control<QLabel>("Label1")->buddy(), control<QLineEdit>("Text1"));
    }

    void aKeyOnTheFocusedButtonRunsGo_data() { testing::addRows(keyRows); }

    void aKeyOnTheFocusedButtonRunsGo() {
        QFETCH(int, row);
        BoxWatcher watcher([](QMessageBox&) {});
        QTest::keyClick(QApplication::focusWidget(), keyRows[row].key);
        QVERIFY(watcher.seen());
        QCOMPARE(fs::file_size("matrix.txt"), 9'058'973u);
    }

    void boxesStayExclusiveAndCheck2ChoosesTheStyle_data() { testing::addRows(checkRows); }

    void boxesStayExclusiveAndCheck2ChoosesTheStyle() {
        QFETCH(int, row);
        const CheckRow& expected = checkRows[row];
        auto* check1 = control<QCheckBox>("Check1");
        auto* check2 = control<QCheckBox>("Check2");
        for (const char* step = expected.steps; *step != '\0'; ++step) {
            switch (*step) {
                case '1':
                    QTest::mouseClick(check1, Qt::LeftButton);
                    break;
                case '2':
                    QTest::mouseClick(check2, Qt::LeftButton);
                    break;
                case 'a':
                    check1->setChecked(true);
                    break;
                case 'b':
                    check2->setChecked(true);
                    break;
            }
            QVERIFY2(!(check1->isChecked() && check2->isChecked()), "both boxes are checked");
        }
        QCOMPARE(check1->isChecked(), expected.check1);
        QCOMPARE(check2->isChecked(), expected.check2);

        BoxWatcher watcher([](QMessageBox&) {});
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(watcher.seen());
        QCOMPARE(firstLine("matrix.txt"), std::string(expected.firstLine));
    }

    void goWritesTheFileAndClosesItOnlyAfterTheCountIsDismissed() {
        QElapsedTimer clock;
        BoxWatcher watcher([&clock](QMessageBox& box) {
            qInfo("go to box: %lld ms", clock.elapsed());
            QCOMPARE(box.text(), QStringLiteral("823543 Sequences written"));
            QCOMPARE(box.windowTitle(), QStringLiteral("Heptanote"));
            QCOMPARE(box.buttons().size(), 1);
            QCOMPARE(box.standardButton(box.buttons().front()), QMessageBox::Ok);
            QCOMPARE(box.icon(), QMessageBox::NoIcon);
            QCOMPARE(box.windowModality(), Qt::ApplicationModal);
            QCOMPARE(descriptorsOn("matrix.txt"), 1);
            QCOMPARE(fs::file_size("matrix.txt"), 9'058'973u);
        });
        clock.start();
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(watcher.seen());
        QCOMPARE(descriptorsOn("matrix.txt"), 0);
        const std::string file = readFile("matrix.txt");
        QCOMPARE(file.size(), 9'058'973u);
        QVERIFY(file.starts_with("CCCCCCC  \r\nDCCCCCC  \r\n"));
        QVERIFY(file.ends_with("ABBBBBB  \r\nBBBBBBB  \r\n"));
    }

    void wordsAfterTheNumberStillGiveFifteenPerLine() {
        auto* text1 = control<QLineEdit>("Text1");
        text1->selectAll();
        QTest::keyClicks(text1, QStringLiteral("15 was used"));
        QCOMPARE(text1->text(), QStringLiteral("15 was used"));
        BoxWatcher watcher([](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("823543 Sequences written"));
        });
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(watcher.seen());
        const std::string file = readFile("matrix.txt");
        QCOMPARE(file.size(), 7'521'693u);
        QCOMPARE(std::count(file.begin(), file.end(), '\n'), 54'903);
    }

    void repeatedGoWritesEachFileRightAndKeepsNoMemoryOrDescriptors() {
        // Five counts against two alternating styles: every pairing within ten presses.
        const int counts[] = {1, 15, 3, 32767, 0};
        auto* text1 = control<QLineEdit>("Text1");
        std::size_t heapAfterTen = 0;
        int descriptorsAfterTen = 0;
        for (int press = 1; press <= 50; ++press) {
            const int columns = counts[(press - 1) % std::size(counts)];
            text1->selectAll();
            QTest::keyClicks(text1, QString::number(columns));
            if (press > 1) QTest::mouseClick(control<QCheckBox>("Check2"), Qt::LeftButton);
            const char* first = press % 2 == 1 ? "CCCCCCC  " : "1111111  ";
            goAndCheckTheFile(layoutFor(columns), first);
            if (QTest::currentTestFailed()) {
                qWarning("press %d wrote a wrong file", press);
                return;
            }
            if (press == 10) {
                heapAfterTen = heapInUse();
                descriptorsAfterTen = openDescriptors();
            }
        }
        const std::size_t heapAfterFifty = heapInUse();
        const int descriptorsAfterFifty = openDescriptors();
        qInfo("after press 10: %zu bytes of heap, %d descriptors; after press 50: %zu, %d",
              heapAfterTen, descriptorsAfterTen, heapAfterFifty, descriptorsAfterFifty);
        QCOMPARE(descriptorsAfterFifty, descriptorsAfterTen);
        // What Qt keeps growing by itself (Text1's undo history, caches) came to 7 to 15 KiB
        // over these forty presses; a buffer (256 KiB) or a box (over 30 KiB with its widgets)
        // kept by every press adds more than 1 MiB.
        const std::size_t bound = 256 * 1024;
        QVERIFY2(heapAfterFifty <= heapAfterTen + bound, "the heap grew by more than 256 KiB");
    }

    void pastedTextIsReadByTheRule_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("reads");
        QTest::newRow("15 then 99,998 x: 100,000 characters")
            << QStringLiteral("15") + QString(99'998, u'x') << 15;
        QTest::newRow("40,000 spaces then 15, past Qt's default length")
            << QString(40'000, u' ') + QStringLiteral("15") << 15;
        QTest::newRow("7 then 49,999 characters outside the Basic Multilingual Plane")
            << QStringLiteral("7") + QString::fromUcs4(U"\U0001D11E").repeated(49'999) << 7;
        for (const CharacterRow& row : characterRows)
            QTest::newRow(row.name) << pastedText(row) << row.reads;
    }

    void pastedTextIsReadByTheRule() {
        QFETCH(QString, pasted);
        QFETCH(int, reads);
        auto* text1 = control<QLineEdit>("Text1");
        QGuiApplication::clipboard()->setText(pasted);
        text1->selectAll();
        QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
        // Qt holds a paste as it is, controls, NUL and lone surrogates included; only the box's
        // length limit could cut it.
        QCOMPARE(text1->text(), pasted);
        goAndCheckTheFile(layoutFor(reads), "CCCCCCC  ");
    }

  private:
    // Presses go, dismisses the count, and checks the file's size, lines and first sequence.
    void goAndCheckTheFile(const Layout& layout, const char* firstSequence) {
        BoxWatcher watcher([](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("823543 Sequences written"));
        });
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(watcher.seen());
        const std::string file = readFile("matrix.txt");
        QCOMPARE(file.size(), layout.bytes);
        QCOMPARE(std::count(file.begin(), file.end(), '\n'), layout.lines);
        QVERIFY(file.starts_with(firstSequence));
    }

    template <class Control>
    Control* control(const char* name) {
        auto* found = form_->findChild<Control*>(name);
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    QString previous_;
    std::unique_ptr<Form1> form_;
};

}  // namespace heptanote

QTEST_MAIN(heptanote::Form1Test)
#include "form1_test.moc"
