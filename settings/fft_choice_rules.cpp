#include "settings/fft_choice_rules.h"

#include <cstddef>

namespace tz {

int ReadRadioChoice(std::span<const bool> checked, int defaultValue) {
  int value = defaultValue;
  for (size_t i = 0; i < checked.size(); ++i)
    if (checked[i]) value = static_cast<int>(i);
  return value;
}

FftWindow ReadFftWindowChoice(std::span<const bool> checked) {
  return static_cast<FftWindow>(ReadRadioChoice(checked, static_cast<int>(FftWindow::Hamming)));
}

FftSource ReadFftSourceChoice(std::span<const bool> checked) {
  return static_cast<FftSource>(ReadRadioChoice(checked, static_cast<int>(FftSource::Torque)));
}

void ConfirmFftWindow(AnalysisRecord& r, FftWindow w) {
  r.settings.FFTwindow = w;
  r.settings.UseFilterDefaults = 0;
}

void ConfirmFftSource(AnalysisRecord& r, FftSource s) {
  r.settings.FFTsource = s;
  r.settings.UseFilterDefaults = 0;
}

int CurrentFftWindow(const AnalysisRecord& r) { return static_cast<int>(r.settings.FFTwindow); }
int CurrentFftSource(const AnalysisRecord& r) { return static_cast<int>(r.settings.FFTsource); }

}  // namespace tz
