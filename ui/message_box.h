// Message boxes with an OK button, owned by the main window, shown through
// one replaceable function so tests can answer them.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace tz {

enum class MessageIcon { None, Exclamation };

struct Message {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::None;
};

using MessageBoxFn = std::function<void(QWidget* owner, const Message& message)>;

// The platform's modal message box; returns when it is closed.
void ShowMessageBox(QWidget* owner, const Message& message);

}  // namespace tz
