// Progress of a run: a modeless dialog with a bar and a read-only status line.
#pragma once

#include <QDialog>

class QLineEdit;
class QProgressBar;

namespace tz {

class ProgressDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ProgressDialog(QWidget* owner);
  void SetPosition(int percent);
  void SetText(const char* text);
  QProgressBar* Bar() const { return bar_; }
  QLineEdit* Text() const { return text_; }

 private:
  QProgressBar* bar_;
  QLineEdit* text_;
};

}  // namespace tz
