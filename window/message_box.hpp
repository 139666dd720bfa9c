#pragma once

class QString;
class QWidget;

namespace heptanote {

enum class MessageIcon { None, Critical };

// Every box the program shows: captioned "Heptanote", an OK button only, modal. Returns once the
// user has dismissed it.
void showMessage(MessageIcon icon, const QString& text, QWidget* parent);

}  // namespace heptanote
