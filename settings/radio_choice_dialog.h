// A modal dialog with one group of radio buttons and OK / Cancel: the shape
// of the FFT window and FFT source dialogs. The value of a button is its
// position in the group, which is also its id in the dialog's QButtonGroup.
#pragma once

#include <QDialog>
#include <QSize>
#include <array>
#include <cstddef>
#include <span>

class QButtonGroup;

namespace tz {

struct RadioChoice {
  int id;
  const char* text;
};

struct RadioDialogTemplate {
  int id;
  const char* caption;
  const char* groupTitle;
  std::span<const RadioChoice> choices;
  QSize sizeDlu;  // size of the template in dialog units
};

class RadioChoiceDialog : public QDialog {
  Q_OBJECT

 protected:
  // The button at position current is checked; a value outside the group
  // checks none.
  RadioChoiceDialog(const RadioDialogTemplate& t, int current, QWidget* parent);

  // The check state of each button, in id order.
  struct CheckStates {
    std::array<bool, 8> checked{};
    size_t count = 0;
    operator std::span<const bool>() const { return {checked.data(), count}; }
  };
  CheckStates CheckedStates() const;

 private:
  QButtonGroup* group_;  // exclusive; a button's id is its position
};

}  // namespace tz
