// The quick reference.
#pragma once

#include <QSize>
#include <span>

#include "app/info_dialog.h"

class QScrollArea;

namespace tz {

class HelpDialog : public InfoDialog {
  Q_OBJECT
 public:
  explicit HelpDialog(QWidget* owner);

 private:
  // The reference lines in a scroll area.
  QScrollArea* MakeReference();
  // The size the dialog opens with beside its owner's screen.
  QSize FittedSize(const QWidget* owner) const;
};

// The lines of the quick reference, top to bottom.
std::span<const char* const> HelpLines();
// True for the lines set in from the margin (the sub-items of item 4).
bool HelpLineIndented(int index);

// Shows the quick reference modally; returns when its OK button is pressed.
void ShowHelp(QWidget* owner);

}  // namespace tz
