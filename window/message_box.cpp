#include "window/message_box.hpp"

#include <QMessageBox>

namespace heptanote {

void showMessage(MessageIcon icon, const QString& text, QWidget* parent) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QStringLiteral("Heptanote"), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace heptanote
