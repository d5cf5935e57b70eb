// "FFT source selection": chooses the quantity the FFT transforms, processes
// the current source again and rebuilds the display.
#pragma once

#include <functional>

#include "processing/analysis_record.h"
#include "settings/radio_choice_dialog.h"

namespace tz {

class FftSourceDialog : public RadioChoiceDialog {
  Q_OBJECT

 public:
  // The button of r's current source is checked. After OK, processFile (the
  // Process File command) runs, then rebuildDisplay.
  FftSourceDialog(AnalysisRecord& r, std::function<void()> processFile,
                  std::function<void()> rebuildDisplay, QWidget* parent);

  // OK: stores the checked source, closes, keeps the filtering settings in
  // force, runs Process File and rebuilds the display. Cancel changes nothing.
  void accept() override;

 private:
  AnalysisRecord& record_;
  std::function<void()> processFile_;
  std::function<void()> rebuildDisplay_;
};

}  // namespace tz
