#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace heptanote {

// The program's one window: two exclusive boxes choose the style, Text1 the sequences per line,
// and "go" writes matrix.txt. The controls are children the window owns, placed by geometry.
class Form1 : public QWidget {
    Q_OBJECT

  public:
    Form1();

  private slots:
    void check1Click();
    void check2Click();
    void command1Click();

  private:
    // Declared, and so created, in tab order.
    QPushButton* command1_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    QLineEdit* text1_;
};

}  // namespace heptanote
