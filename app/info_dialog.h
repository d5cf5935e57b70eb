// Base of the About and help dialogs: modal, without a close box, closed
// only by their one button (identifier 1); Escape does nothing.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tz {

class InfoDialog : public QDialog {
  Q_OBJECT
 public:
  InfoDialog(int templateId, const char* caption, QWidget* owner);

 protected:
  void reject() override {}

  // The button that closes the dialog with result 1.
  QPushButton* MakeCloseButton(const char* text);
  // The program icon at 32 pixels.
  QLabel* MakeIconLabel();
  // Width in pixels of a number of horizontal dialog units of the font.
  int DialogUnitsX(int units) const;
  int DialogUnitsY(int units) const;
};

}  // namespace tz
