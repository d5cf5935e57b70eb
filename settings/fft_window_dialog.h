// "FFT filtering window selection": chooses the weighting of the FFT input
// and processes the current source again.
#pragma once

#include <functional>

#include "processing/analysis_record.h"
#include "settings/radio_choice_dialog.h"

namespace tz {

class FftWindowDialog : public RadioChoiceDialog {
  Q_OBJECT

 public:
  // The button of r's current window is checked. processFile is the Process
  // File command, run after OK once the dialog is closed.
  FftWindowDialog(AnalysisRecord& r, std::function<void()> processFile, QWidget* parent);

  // OK: stores the checked window, closes, keeps the filtering settings in
  // force and runs Process File. Cancel changes nothing.
  void accept() override;

 private:
  AnalysisRecord& record_;
  std::function<void()> processFile_;
};

}  // namespace tz
