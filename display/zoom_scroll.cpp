#include "display/zoom_scroll.h"

#include <algorithm>
#include <cstdint>

#include "display/plot_math.h"
#include "processing/analysis_record.h"

namespace tz {

namespace {

// Parts of the visible span that a line and a page scroll move it by.
constexpr double kLineFraction = 0.03;
constexpr double kPageFraction = 0.33;

// The message of a zoom the markers do not allow, if any.
std::optional<std::string> ZoomMessage(bool set1, bool set2, int32_t x1, int32_t x2) {
  if (!set1 && !set2) return "Marker1 and Marker2 not set";
  if (set1 && !set2) return "Marker2 not set";
  if (set1 && x1 > x2) return "Marker1 greater than Marker2";
  return std::nullopt;
}

// A step scaled to the stretch of d pixels out of W, at least 1.
int32_t ZoomedStep(int32_t step, double d, double W) {
  const int v = W > 0 ? PixelFromDouble(step * d / W) : 0;
  return v > 0 ? static_cast<int32_t>(v) : 1;
}

// The data index of a marker's column under the old step, from the base.
int32_t IndexAt(int32_t step, int32_t marker, int32_t base) {
  const int64_t v = static_cast<int64_t>(step) * marker + base;
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, INT32_MAX));
}

// Moves a range by a fraction of its span, kept within 0..limit at its span.
// Returns the span.
int32_t MoveRange(int32_t& start, int32_t& end, int32_t limit, double fraction, bool left) {
  const int32_t span = end - start;
  const int32_t step = std::max(1, PixelFromDouble(span * fraction));
  if (left) {
    if (start - step > 0) {
      start -= step;
      end -= step;
    } else {
      start = 0;
      end = span;
    }
  } else if (end + step < limit) {
    start += step;
    end += step;
  } else {
    end = limit;
    start = limit - span;
  }
  return span;
}

}  // namespace

XZoomResult XZoom(DisplayState& s, const LayoutRecord& l) {
  XZoomResult result;
  s.XZoomActive = 1;
  const int32_t x1 = s.Markers[0].X, x2 = s.Markers[1].X;
  const bool set1 = x1 != 0;
  const bool set2 = x2 != 0;
  result.message = ZoomMessage(set1, set2, x1, x2);
  const bool go = (set1 && set2 && x1 < x2) || (!set1 && set2);
  if (!go) return result;

  const double d = static_cast<double>(x2) - static_cast<double>(x1);
  const double W = l.PlotWidth;
  const int32_t oldTime = s.TimeStep, oldFft = s.FftStep;
  s.TimeStep = ZoomedStep(oldTime, d, W);
  s.FftStep = ZoomedStep(oldFft, d, W);
  s.TimeStart = IndexAt(oldTime, x1, s.ZoomBaseTime);
  s.TimeEnd = IndexAt(oldTime, x2, s.ZoomBaseTime);
  s.FftStart = IndexAt(oldFft, x1, s.ZoomBaseFft);
  s.FftEnd = IndexAt(oldFft, x2, s.ZoomBaseFft);
  result.zoomed = true;
  return result;
}

void ZoomBasesFromRanges(DisplayState& s) {
  s.ZoomBaseTime = s.TimeStart;
  s.ZoomBaseFft = s.FftStart;
}

void XRestore(DisplayState& s, const AnalysisRecord& r) {
  SetFullRange(s, r);
  s.Markers[0].X = s.Markers[1].X = 0;
  s.XZoomActive = 0;
}

std::optional<int> ScrollHorizontally(DisplayState& s, const AnalysisRecord& r, ScrollCode code) {
  double f;
  switch (code) {
    case ScrollCode::LineLeft:
    case ScrollCode::LineRight: f = kLineFraction; break;
    case ScrollCode::PageLeft:
    case ScrollCode::PageRight: f = kPageFraction; break;
    default: return std::nullopt;
  }
  const bool left = code == ScrollCode::LineLeft || code == ScrollCode::PageLeft;
  const int32_t limit = std::max<int32_t>(0, r.counters.ProgrCount);
  const int32_t timeSpan = MoveRange(s.TimeStart, s.TimeEnd, limit, f, left);
  const int32_t half = HalfSpectrum(r);
  const int32_t fftSpan = MoveRange(s.FftStart, s.FftEnd, half, f, left);

  // The bar stands at the middle of the span before the move, from the new start.
  const bool fft = FftShown(s);
  const int32_t span = fft ? fftSpan : timeSpan;
  const int32_t start = fft ? s.FftStart : s.TimeStart;
  const int32_t total = fft ? half : r.counters.ProgrCount;
  if (total <= 0) return 0;
  const double range = kHorizontalBarRange;
  return std::clamp(PixelFromDouble(range * (span / 2 + start) / total), 0, kHorizontalBarRange);
}

int SetUpVerticalScroll(DisplayState& s, int h, int lineHeight) {
  s.VScrollMax = std::max(0, kVerticalScrollLines * lineHeight - h);
  int excess = 0;
  if (s.VScrollPos > s.VScrollMax) {
    excess = s.VScrollPos - s.VScrollMax;
    s.VScrollPos = s.VScrollMax;
  }
  return excess;
}

}  // namespace tz
