#include "settings/fft_window_dialog.h"

#include <utility>

#include "processing/codes.h"
#include "settings/fft_choice_rules.h"
#include "ui/resource.h"

namespace tz {

namespace {

// A button's value is its position: the codes table is in value order.
static_assert(kFftWindows[0].window == FftWindow::FlatTop &&
              kFftWindows[1].window == FftWindow::Hamming &&
              kFftWindows[2].window == FftWindow::Blackman);

constexpr RadioChoice kWindows[] = {
    {res::kRadioWindowFlatTop, kFftWindows[0].label},
    {res::kRadioWindowHamming, kFftWindows[1].label},
    {res::kRadioWindowBlackman, kFftWindows[2].label},
};

constexpr RadioDialogTemplate kTemplate{res::kDlgFftWindow, "FFT filtering window selection",
                                        "Select FFT filtering window", kWindows, {382, 114}};

}  // namespace

FftWindowDialog::FftWindowDialog(AnalysisRecord& r, std::function<void()> processFile,
                                 QWidget* parent)
    : RadioChoiceDialog(kTemplate, CurrentFftWindow(r), parent),
      record_(r),
      processFile_(std::move(processFile)) {}

void FftWindowDialog::accept() {
  const FftWindow choice = ReadFftWindowChoice(CheckedStates());
  QDialog::accept();
  ConfirmFftWindow(record_, choice);
  if (processFile_) processFile_();
}

}  // namespace tz
