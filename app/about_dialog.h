// The About box.
#pragma once

#include "app/info_dialog.h"

namespace tz {

class AboutDialog : public InfoDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* owner);
};

// Shows the About box modally; returns when its Close button is pressed.
void ShowAbout(QWidget* owner);

}  // namespace tz
