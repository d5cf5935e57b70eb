// Statistics of a run: a modeless dialog with the sample counts, which stays
// beside the main window after the run. Its OK destroys it and rebuilds the
// display, so the graphs show the new run.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace tz {

class StatisticsDialog : public QDialog {
  Q_OBJECT
 public:
  StatisticsDialog(std::function<void()> rebuildDisplay, QWidget* owner);
  void SetFields(const char* total, const char* filtered, const char* percent);
  QLineEdit* Total() const { return total_; }
  QLineEdit* Filtered() const { return filtered_; }
  QLineEdit* Percent() const { return percent_; }

 public:
  // OK: destroys the dialog, then rebuilds the display. Escape and the
  // close box end it the same way.
  void accept() override { Confirm(); }
  void reject() override { Confirm(); }

 private:
  void Confirm();

  std::function<void()> rebuildDisplay_;
  QLineEdit* total_;
  QLineEdit* filtered_;
  QLineEdit* percent_;
};

}  // namespace tz
