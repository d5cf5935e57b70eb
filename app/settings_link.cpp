#include "app/settings_link.h"

#include "settings/fft_source_dialog.h"
#include "settings/fft_window_dialog.h"
#include "settings/filtering_settings_dialog.h"
#include "settings/parameters_dialog.h"

namespace tz {

QDialog* OpenParametersDialog(AnalysisRecord& r, Action, Action, QWidget* owner) {
  return ShowParametersDialog(r, owner);
}

void RunFilteringSettingsDialog(AnalysisRecord& r, Action processFile, Action, QWidget* owner) {
  FilteringSettingsDialog dialog(r, std::move(processFile), owner);
  dialog.exec();
}

void RunFftWindowDialog(AnalysisRecord& r, Action processFile, Action, QWidget* owner) {
  FftWindowDialog dialog(r, std::move(processFile), owner);
  dialog.exec();
}

void RunFftSourceDialog(AnalysisRecord& r, Action processFile, Action rebuildDisplay,
                        QWidget* owner) {
  FftSourceDialog dialog(r, std::move(processFile), std::move(rebuildDisplay), owner);
  dialog.exec();
}

}  // namespace tz
