#include "window/form1.hpp"

#include "generation/column_count.hpp"
#include "generation/matrix_file.hpp"
#include "generation/sequence_matrix.hpp"
#include "window/failure_report.hpp"
#include "window/message_box.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstddef>
#include <limits>
#include <string_view>

namespace heptanote {
namespace {

// The only place text leaves Qt for the core; the view lives as long as `text`.
std::u16string_view utf16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

Form1::Form1()
    : command1_(new QPushButton(QStringLiteral("go"), this)),
      check1_(new QCheckBox(QStringLiteral("Print Sequences"), this)),
      check2_(new QCheckBox(QStringLiteral("Print Score Sequences"), this)),
      text1_(new QLineEdit(QStringLiteral("1"), this)) {
    auto* label1 = new QLabel(QStringLiteral("Colls (15 was used)"), this);

    setWindowTitle(QStringLiteral("Score print"));
    // Positions are in device-independent pixels, so the design holds at any scale factor.
    setFixedSize(312, 202);
    command1_->setGeometry(20, 127, 73, 24);
    check1_->setGeometry(26, 25, 122, 21);
    check2_->setGeometry(25, 51, 164, 17);
    text1_->setGeometry(22, 82, 51, 23);
    label1->setGeometry(83, 85, 126, 17);

    command1_->setObjectName(QStringLiteral("Command1"));
    check1_->setObjectName(QStringLiteral("Check1"));
    check2_->setObjectName(QStringLiteral("Check2"));
    text1_->setObjectName(QStringLiteral("Text1"));
    label1->setObjectName(QStringLiteral("Label1"));

    check2_->setChecked(true);
    // Qt's default of 32767 would silently cut a longer paste, and go must read what was pasted.
    text1_->setMaxLength(std::numeric_limits<int>::max());
    // The label names the box for screen readers.
    label1->setBuddy(text1_);
    // Outside a dialog a push button ignores Return unless it is an auto-default one.
    command1_->setAutoDefault(true);
    command1_->setFocus();

    // toggled, not clicked: a box's Click also follows a change the program makes.
    connect(check1_, &QCheckBox::toggled, this, reportFailures(this, &Form1::check1Click));
    connect(check2_, &QCheckBox::toggled, this, reportFailures(this, &Form1::check2Click));
    connect(command1_, &QPushButton::clicked, this, reportFailures(this, &Form1::command1Click));
}

void Form1::check1Click() {
    if (check1_->isChecked()) check2_->setChecked(false);
}

void Form1::check2Click() {
    if (check2_->isChecked()) check1_->setChecked(false);
}

// Runs to its end, the message included, before the window sees further input; catches nothing.
void Form1::command1Click() {
    const ColumnCount columns = readColumnCount(utf16(text1_->text()));
    MatrixFile file;
    const SequenceStyle style = check2_->isChecked() ? SequenceStyle::Score : SequenceStyle::Plain;
    const SequenceCount count = writeSequenceMatrix(file, columns, style);
    showMessage(MessageIcon::None, QString::number(count) + QStringLiteral(" Sequences written"),
                this);
    file.close();
}

}  // namespace heptanote
