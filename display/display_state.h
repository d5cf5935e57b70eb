// What the graph display shows and where. Program-wide, like the analysis
// record: the display settings and the keyboard toggle change the choices,
// the X zoom and scrolling the visible range, the panels and the plot
// window's clicks the marker switches, positions and readings. Where and how
// big the graphs are drawn follows from it (plot_geometry.h); painting only
// reads it.
#pragma once

#include <array>
#include <cstdint>

namespace tz {

// What the plot window shows: the FFT graph or one arrangement of the time
// graphs. In the order of the display settings' buttons.
enum class DisplayChoice {
  ShowFft,       // the FFT graph
  Show3RpmFilt,  // three time graphs: filtered RPM, torque, power
  Show3RpmInst,  // three time graphs: unfiltered RPM, torque, power
  ShowRpmFilt,   // filtered RPM alone
  ShowRpmInst,   // unfiltered RPM alone
  ShowTorque,    // torque alone
  ShowPower,     // power alone
};
constexpr int kDisplayChoiceCount = 7;

// What a click sets with the time X markers on: marker 1, marker 2, or
// nothing while their difference is shown.
enum class XMarkerChoice { Marker1, Marker2, Delta };

// One of the two markers. Marker 1 is set by time X marker 1, FFT X marker 1,
// FFT Y marker 1 and the time-graph Y markers; marker 2 by the others.
struct Marker {
  int32_t X = 0, Y = 0;   // where the last click that set it stood (plot pixels)
  int32_t PrevTimeX = 0;  // column of its drawn time X marker line
  int32_t PrevFftX = 0;   // column of its drawn FFT X marker line
  int32_t PrevFftY = 0;   // row of its drawn FFT Y marker line
  int FftXOn = 0;         // its FFT X marker switch
  int FftYOn = 0;         // its FFT Y marker switch
  // Readings, kept between clicks; the panels show their differences.
  double Time = 0;     // Tprogr at the sample under the time X marker
  double RpmFilt = 0;  // RPMfilt there
  double RpmInst = 0;  // RPMinst there
  double Trq = 0;      // TRQfilt there
  double Pow = 0;      // POTfilt there
  double Line = 0;     // spectral line under the FFT X marker
  double Freq = 0;     // its frequency
  double Ampl = 0;     // its magnitude
  double dB = 0;       // 10 x log10(magnitude / DC magnitude)
  double YAmpl = 0;    // amplitude at the FFT Y marker row
  double YdB = 0;      // the same in dB

  bool operator==(const Marker&) const = default;
};

// Horizontal scroll codes of the plot window: a line is 3 % of the visible
// span, a page 33 %.
enum class ScrollCode { LineLeft = 0, LineRight = 1, PageLeft = 2, PageRight = 3 };

struct DisplayState {
  // ---- Display choices ----
  DisplayChoice Show = DisplayChoice::ShowFft;
  int FftEnvelope = 1;        // 1: envelope; 0: spectral lines
  int ShowHarmonics = 0;      // fundamental and its multiples in magenta
  int ShowHarmonicPeaks = 0;  // the picked peaks instead of the magnitudes
  int CleanSpectrum = 0;      // DC slope and lines at or under the floor suppressed
  int FitToData = 0;          // time graphs scaled to the visible samples' minimum and maximum
  int Rulers = 0;             // labelled ticks along the time or frequency axis and each band

  // ---- Visible range, as the X zoom and scrolling leave it ----
  int32_t TimeStart = 0;  // first drawn sample: Progr = TimeStart + MovAvgLen
  int32_t TimeEnd = 0;    // drawing stops before Progr = TimeEnd
  int32_t TimeStep = 1;   // samples per drawn point
  int32_t TimePixStep = 1;
  int32_t FftStart = 0;
  int32_t FftEnd = 0;
  int32_t FftStep = 1;  // spectral lines per drawn column
  int32_t FftPixStep = 1;
  int32_t XZoomActive = 0;
  int32_t ZoomBaseTime = 0;
  int32_t ZoomBaseFft = 0;

  // ---- Vertical zoom percentages (set by the panels) ----
  double ZoomRpm = 100.0;  // both RPM graphs
  double ZoomTorque = 100.0;
  double ZoomPower = 100.0;
  double ZoomFft = 100.0;

  // ---- Vertical scroll bar of the plot window ----
  int32_t VScrollPos = 0;  // set from the fixed-pitch font's line height at start
  int32_t VScrollMax = 0;

  // ---- Markers ----
  std::array<Marker, 2> Markers{Marker{.FftXOn = 1}, Marker{}};  // FFT X marker 1 on at start
  int32_t PrevTimeY = 0;  // row of the drawn time-graph Y marker line (one for all bands)
  int TimeXMarkersOn = 0;
  XMarkerChoice XMarkerSel = XMarkerChoice::Marker1;
  std::array<int, 3> YMarkerOn{};  // the Y1, Y2 and Y3 panels' marker switches
  // The value each Y panel's marker was last placed at, kept for its panel's
  // graph alone (never among the time X markers' readings).
  std::array<double, 3> YMarkerValue{};

  bool operator==(const DisplayState&) const = default;
};

// The FFT graph.
inline bool FftShown(const DisplayState& s) { return s.Show == DisplayChoice::ShowFft; }
// The three-graph display, with either RPM curve.
inline bool ThreeGraphs(const DisplayState& s) {
  return s.Show == DisplayChoice::Show3RpmFilt || s.Show == DisplayChoice::Show3RpmInst;
}
// One time graph alone.
inline bool SingleGraph(const DisplayState& s) { return !FftShown(s) && !ThreeGraphs(s); }
// A choice that shows the filtered or the unfiltered RPM curve.
inline bool RpmFiltShown(const DisplayState& s) {
  return s.Show == DisplayChoice::ShowRpmFilt || s.Show == DisplayChoice::Show3RpmFilt;
}
inline bool RpmInstShown(const DisplayState& s) {
  return s.Show == DisplayChoice::ShowRpmInst || s.Show == DisplayChoice::Show3RpmInst;
}

}  // namespace tz
