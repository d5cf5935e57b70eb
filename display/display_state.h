// What the graph display shows and where. Program-wide, like the analysis
// record: the display settings and the keyboard toggle change the choices,
// every paint recomputes the ranges and scales, the panels and the plot
// window's clicks set the marker switches, positions and readings.
#pragma once

#include <cstdint>

namespace tz {

struct DisplayState {
  // ---- Display choices (exactly one of the first seven is 1 after the
  // display settings are confirmed) ----
  int ShowFft = 1;       // the FFT graph
  int Show3RpmFilt = 0;  // three time graphs: filtered RPM, torque, power
  int Show3RpmInst = 0;  // three time graphs: unfiltered RPM, torque, power
  int ShowRpmFilt = 0;
  int ShowRpmInst = 0;
  int ShowTorque = 0;
  int ShowPower = 0;
  int FftEnvelope = 1;        // 1: envelope; 0: spectral lines
  int ShowHarmonics = 0;      // fundamental and its multiples in magenta
  int ShowHarmonicPeaks = 0;  // the picked peaks instead of the magnitudes
  int CleanSpectrum = 0;      // DC slope and lines at or under the floor suppressed

  // ---- Visible range ----
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

  // ---- Scales left by the last paint (read back by the marker readings) ----
  double GraphScale = 0, GraphOffset = 0;  // single time graph or FFT graph
  double BandScale1 = 0, BandOffset1 = 0, BandBase1 = 0;
  double BandScale2 = 0, BandOffset2 = 0, BandBase2 = 0;
  double BandScale3 = 0, BandOffset3 = 0, BandBase3 = 0;

  // ---- Vertical scroll bar of the plot window ----
  int32_t VScrollPos = 0;  // set from the fixed-pitch font's line height at start
  int32_t VScrollMax = 0;

  // ---- Marker positions (plot window pixels) ----
  int32_t Marker1X = 0, Marker1Y = 0;
  int32_t Marker2X = 0, Marker2Y = 0;
  int32_t PrevTimeM1X = 0, PrevTimeM2X = 0;
  int32_t PrevFftM1X = 0, PrevFftM2X = 0;
  int32_t PrevFftY1 = 0, PrevFftY2 = 0;
  int32_t PrevTimeY = 0;

  // ---- Marker switches (the panels turn them on and off) ----
  int TimeXMarkersOn = 0;
  int XMarkerSel1 = 1;
  int XMarkerSel2 = 0;
  int XMarkerDelta = 0;
  int Y1MarkerOn = 0, Y2MarkerOn = 0, Y3MarkerOn = 0;
  int FftXMarker1On = 1;
  int FftXMarker2On = 0;
  int FftYMarker1On = 0;
  int FftYMarker2On = 0;

  // ---- Readings, kept between clicks ----
  double M1Time = 0, M2Time = 0;
  double M1RpmFilt = 0, M2RpmFilt = 0;
  double M1RpmInst = 0, M2RpmInst = 0;
  double M1Trq = 0, M2Trq = 0;
  double M1Pow = 0, M2Pow = 0;
  double M1Line = 0, M2Line = 0;
  double M1Freq = 0, M2Freq = 0;
  double M1Ampl = 0, M2Ampl = 0;
  double M1dB = 0, M2dB = 0;
  double Y1Ampl = 0, Y2Ampl = 0;
  double Y1dB = 0, Y2dB = 0;
};

// The three-graph display, with either RPM curve.
inline bool ThreeGraphs(const DisplayState& s) { return s.Show3RpmFilt || s.Show3RpmInst; }
// One time graph alone.
inline bool SingleGraph(const DisplayState& s) {
  return s.ShowRpmFilt || s.ShowRpmInst || s.ShowTorque || s.ShowPower;
}
// Either RPM choice that shows the unfiltered curve.
inline bool RpmInstShown(const DisplayState& s) { return s.ShowRpmInst || s.Show3RpmInst; }

}  // namespace tz
