#include "settings/fft_source_dialog.h"

#include <utility>

#include "processing/codes.h"
#include "settings/fft_choice_rules.h"
#include "ui/resource.h"

namespace tz {

namespace {

// A button's value is its position: the codes table is in value order.
static_assert(kFftSources[0].source == FftSource::Cslot &&
              kFftSources[1].source == FftSource::RpmFilt &&
              kFftSources[2].source == FftSource::RpmInst &&
              kFftSources[3].source == FftSource::Torque &&
              kFftSources[4].source == FftSource::Power);

constexpr RadioChoice kSources[] = {
    {res::kRadioSourceCslot, kFftSources[0].label},
    {res::kRadioSourceRpmFilt, kFftSources[1].label},
    {res::kRadioSourceRpmInst, kFftSources[2].label},
    {res::kRadioSourceTorque, kFftSources[3].label},
    {res::kRadioSourcePower, kFftSources[4].label},
};

constexpr RadioDialogTemplate kTemplate{res::kDlgFftSource, "FFT source selection",
                                        "Select FFT input data", kSources, {220, 125}};

}  // namespace

FftSourceDialog::FftSourceDialog(AnalysisRecord& r, std::function<void()> processFile,
                                 std::function<void()> rebuildDisplay, QWidget* parent)
    : RadioChoiceDialog(kTemplate, CurrentFftSource(r), parent),
      record_(r),
      processFile_(std::move(processFile)),
      rebuildDisplay_(std::move(rebuildDisplay)) {}

void FftSourceDialog::accept() {
  const FftSource choice = ReadFftSourceChoice(CheckedStates());
  QDialog::accept();
  ConfirmFftSource(record_, choice);
  if (processFile_) processFile_();
  if (rebuildDisplay_) rebuildDisplay_();
}

}  // namespace tz
