// "Display Settings": chooses what the plot window shows (the FFT graph or
// one of six arrangements of the time graphs), four drawing options of the
// FFT graph, and two of every graph (time graphs fitted to their visible
// data, rulers). Closing it always rebuilds the display.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "display/display_state.h"

class QButtonGroup;
class QCheckBox;

namespace tz {

// The dialog's buttons as plain values: which graph button is checked and
// the four option boxes.
struct DisplayChoices {
  std::optional<DisplayChoice> graph;  // none only while no button is checked
  bool spectralLines = false;          // "Display spectral lines": no envelope
  bool harmonics = false;
  bool harmonicPeaks = false;
  bool cleanSpectrum = false;
  bool fitToData = false;  // time graphs scaled to the visible samples
  bool rulers = false;     // labelled ticks along the axes
};

// The buttons the dialog opens with: the graph choice in force checked.
DisplayChoices ChoicesOf(const DisplayState& s);

// OK: the checked graph becomes the choice (with none checked the choice in
// force stays); the envelope is drawn unless spectral lines are chosen; the
// other options as checked.
void StoreDisplayChoices(const DisplayChoices& c, DisplayState& s);

class DisplaySettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Modal, opened with the buttons of state. clearMarkers switches every
  // marker off (the panels' boxes and fields with it); rebuild recreates the
  // display. Either may be empty.
  DisplaySettingsDialog(DisplayState& state, std::function<void()> clearMarkers,
                        std::function<void()> rebuild, QWidget* parent);

  // The buttons as they stand.
  DisplayChoices Choices() const;

  // OK: stores the buttons, closes with result 1, clears the markers, then
  // rebuilds the display.
  void accept() override;
  // Cancel, Escape or the close button: closes with result 2 and rebuilds;
  // the state is left as it was.
  void reject() override;

 private:
  DisplayState& state_;
  std::function<void()> clearMarkers_;
  std::function<void()> rebuild_;
  QButtonGroup* graphs_;                 // the seven graph buttons, by DisplayChoice
  std::array<QCheckBox*, 4> options_{};  // the FFT graph's option boxes
  std::array<QCheckBox*, 2> views_{};    // fit to the data, rulers
};

}  // namespace tz
