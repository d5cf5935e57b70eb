// "VBT processor filtering setting": the modal dialog that overrides the four
// filter settings of the record and processes the current source again.
#pragma once

#include <QDialog>
#include <functional>

#include "processing/analysis_record.h"
#include "settings/filter_rules.h"

class QGridLayout;
class QLineEdit;

namespace tz {

class FilteringSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // The boxes show the settings of r as they stand now. processFile is the
  // Process File command, run after OK once the dialog is closed.
  FilteringSettingsDialog(AnalysisRecord& r, std::function<void()> processFile,
                          QWidget* parent);

  // OK: stores the entries by the dialog's rules, closes the dialog, then
  // runs Process File. Cancel, Esc and the close box change nothing.
  void accept() override;

  // The texts of the four boxes as they are read.
  FilterTexts Texts() const;

 private:
  QLineEdit* AddEntry(QGridLayout* grid, int row, const char* label, int id,
                      const std::string& text);

  AnalysisRecord& record_;
  std::function<void()> processFile_;
  QLineEdit* overshoot_ = nullptr;
  QLineEdit* movAvgLen_ = nullptr;
  QLineEdit* threshold_ = nullptr;
  QLineEdit* zeroCrossLen_ = nullptr;
};

}  // namespace tz
