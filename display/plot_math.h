// The arithmetic of the graph display, with no widget: visible ranges and
// steps, vertical scales, value to pixel row and pixel to sample, line or
// value. The painter, the marker readings and the tests share it.
#pragma once

#include <array>
#include <cstdint>

#include "display/display_state.h"
#include "display/layout.h"

namespace tz {

struct AnalysisRecord;

// Pixel coordinates are computed in doubles and converted only here: NaN
// and values beyond -32768..32767 are held to that range (NaN to the far
// bottom, where nothing is drawn), so no record value can make a conversion
// undefined. Truncates toward zero.
int PixelFromDouble(double v);

// The ranges and steps of the time and FFT graphs for the record and the
// plot width, in the state (the first step of every geometry update).
// Returns false, changing nothing, while the record holds no samples. A
// range never reaches past the current data; a range left empty by that (a
// zoom kept from a longer file) is drawn in full, markers kept.
bool ComputeRanges(DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l);

// Samples that are drawn and read: Progr up to ProgrCount, held to the arrays.
int32_t SampleCount(const AnalysisRecord& r);
// Lines of the spectrum that are drawn and read: 0 .. FFT_N / 2 - 1.
int32_t HalfSpectrum(const AnalysisRecord& r);

// Full range of both graphs, as the X restore and an unzoomed paint set it.
void SetFullRange(DisplayState& s, const AnalysisRecord& r);

// The four time graphs.
enum class TimeGraph { RpmFilt, RpmInst, Torque, Power };

struct TimeSeries {
  const double* values;  // by Progr
  double max, min;
  double zoom;
};
TimeSeries SeriesOf(TimeGraph g, const AnalysisRecord& r, const DisplayState& s);
// The single graph shown, if any.
bool SingleGraphShown(const DisplayState& s, TimeGraph* g);
// The graphs of the three bands, top to bottom: the unfiltered RPM curve
// with Show3RpmInst, else the filtered one; torque; power.
std::array<TimeGraph, 3> BandGraphs(const DisplayState& s);

// Vertical scale of a graph: pixels per unit, the height of its zero line
// above the bottom of the drawing area, and a band's lift above that.
struct VerticalScale {
  double Scale = 0, Offset = 0, Base = 0;
  bool operator==(const VerticalScale&) const = default;
};

// Vertical scales for a drawing area H pixels high. A range R of 0 (maximum
// and minimum both 0), a fundamental of magnitude 0 or a zoom of 0 gives a
// scale of 0: the zero line or baseline stays where it is and the curve lies
// on it.
VerticalScale SingleGraphScale(double H, const TimeSeries& t);
std::array<VerticalScale, 3> BandScales(const DisplayState& s, double H, const AnalysisRecord& r);
VerticalScale FftScale(const DisplayState& s, double H, const AnalysisRecord& r);

// Row of a value: clipped to plotTop above the drawing area, not clipped
// below it.
int ValueToY(double value, double scale, double offset, double base, double H, int plotTop);

// Value under a row for a scale; 0 when the scale is 0.
double ValueAtRow(double H, int y, double scale, double offset, double base);

// Magnitude of a spectral line, 0 outside the arrays.
double LineMagnitudeAt(const AnalysisRecord& r, int32_t k);

}  // namespace tz
