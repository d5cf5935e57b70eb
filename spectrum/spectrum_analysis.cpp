#include "spectrum/spectrum_analysis.h"

#include <algorithm>
#include <cmath>

#include "processing/analysis_record.h"
#include "processing/run_context.h"
#include "spectrum/fft.h"

namespace tz {

namespace {

inline void Clear(SpecLine& s) {
  s.freq = 0;
  s.mag = 0;
}

// Orders records by falling magnitude; equal magnitudes keep their line
// order. A record whose magnitude is NaN never moves and nothing passes it,
// so each run between such records is ordered on its own.
void OrderByMagnitude(SpecLine* recs, int n) {
  auto byMag = [](const SpecLine& a, const SpecLine& b) {
    if (a.mag != b.mag) return a.mag > b.mag;
    return a.line < b.line;
  };
  int start = 0;
  for (int i = 0; i <= n; ++i) {
    if (i == n || std::isnan(recs[i].mag)) {
      std::sort(recs + start, recs + i, byMag);
      start = i + 1;
    }
  }
}

}  // namespace

double LineMagnitude(const SpectrumResults& sp, int k) {
  return LineMagnitude(sp.FFTre, sp.FFTim, k);
}

void FindFundamental(SpectrumResults& sp) {
  const int N = sp.FFT_N;
  const int H = N / 2;
  sp.FundMag = 0;
  sp.FundLine = 0;
  sp.DCEndLine = 0;
  // Walk down the slope of the DC component to the first rising line.
  int i = 0;
  bool rose = false;
  for (;;) {
    sp.FundLine = i;
    i = i + 1;
    if (!(LineMagnitude(sp, i) <= LineMagnitude(sp, i - 1))) {
      rose = true;
      break;
    }
    if (i >= N - 1) break;  // line N-1 compared with N-2 without a rise
  }
  if (!rose) {
    sp.FundLine = 0;
    sp.FundMag = 0;
    sp.DCEndLine = N - 1;
    return;
  }
  sp.DCEndLine = i;
  sp.FundLine = i - 1;
  for (int k = sp.FundLine; k < H; ++k) {
    const double m = LineMagnitude(sp, k);
    if (m > sp.FundMag) {
      sp.FundMag = m;
      sp.FundLine = k;
    }
  }
}

namespace {

// The floor rises by a fraction of (FundMag - FloorLevel) that grows with the
// number of lines not below it: the first row whose share of the H lines the
// count C exceeds gives the fraction. The fractions are the doubles the
// analysis has always used; three lie one unit in the last place off 0.011,
// 0.009 and 0.007.
struct FloorStep {
  double share;
  double fraction;
};
constexpr FloorStep kFloorLadder[] = {
    {0.9, 0.012}, {0.8, 0.011000000000000001}, {0.7, 0.01}, {0.6, 0.009000000000000001},
    {0.5, 0.008}, {0.4, 0.006999999999999999}, {0.3, 0.006},
};
constexpr double kLowestFloorFraction = 0.005;
static_assert(0.011000000000000001 != 0.011 && 0.009000000000000001 != 0.009 &&
              0.006999999999999999 != 0.007);

// Half-width of the band of lines cleared beside a peak's skirt, as a
// fraction of (FundMag - FloorLevel).
constexpr double kSkirtBandFraction = 0.015;

// 1. One record per line below the Nyquist line.
void RecordLines(SpectrumResults& sp, double Fc, int H, Progress& progress) {
  const int N = sp.FFT_N;
  for (int i = 0; i < H; ++i) {
    progress.Report(i, H, "Calculating FFT floor level ....");
    sp.SpecLines[i] = SpecLine{i, (Fc / N) * i, LineMagnitude(sp, i)};
  }
}

// 2. The floor starts as the smallest magnitude below the Nyquist line.
double SmallestMagnitude(const SpectrumResults& sp, int H, Progress& progress) {
  double floor = LineMagnitude(sp, 0);
  for (int i = 0; i < H; ++i) {
    progress.Report(i, H, "Calculating FFT min ....");
    const double m = LineMagnitude(sp, i);
    if (m <= floor) floor = m;
  }
  return floor;
}

// 4. In the records ordered by falling magnitude, the position of the last
// one not below the floor (H when there is none).
int LastRecordNotBelowFloor(const SpectrumResults& sp, int H, Progress& progress) {
  for (int i = H - 1; i >= 0; --i) {
    progress.Report(H - 1 - i, H, "Calculating spectral lines under floor level ....");
    if (!(sp.SpecLines[i].mag < sp.FloorLevel)) return i;
  }
  return H;
}

// 5. The fraction of the ladder for C records not below the floor.
double FloorFraction(int C, int H) {
  for (const FloorStep& step : kFloorLadder)
    if (C > static_cast<int>(H * step.share)) return step.fraction;
  return kLowestFloorFraction;
}

// 6. Clears the records at or below the floor.
void ClearRecordsAtOrBelowFloor(SpectrumResults& sp, int H, Progress& progress) {
  for (int i = 0; i < H; ++i) {
    progress.Report(i, H, "Removing spectral lines below FFT floor level ....");
    if (sp.SpecLines[i].mag <= sp.FloorLevel) Clear(sp.SpecLines[i]);
  }
}

// 7. Back to line order through the scratch array; cleared records and line
// 0 (whose frequency is 0) come back as {0, 0, 0}.
void BackToLineOrder(SpectrumResults& sp, int H, Progress& progress) {
  SpecLine* lines = sp.SpecLines;
  SpecLine* tmp = sp.SpecLinesTmp;
  progress.Text("Sorting FFT spectral lines ....");
  for (int i = 0; i < H; ++i) {
    progress.Position(Progress::Percent(i, H));
    tmp[i] = SpecLine{0, 0, 0};
  }
  for (int i = 0; i < H; ++i) {
    progress.Position(Progress::Percent(i, H));
    if (lines[i].freq != 0) tmp[lines[i].line] = lines[i];
  }
  for (int i = 0; i < H; ++i) {
    progress.Position(Progress::Percent(i, H));
    lines[i] = tmp[i];
  }
}

// 8. Clears the DC slope, lines 0 .. DCEndLine.
void ClearDcSlope(SpectrumResults& sp, Progress& progress) {
  const int dcEnd = std::min(sp.DCEndLine, kSampleCapacity - 1);
  for (int i = 0; i <= dcEnd; ++i) {
    progress.Report(i, dcEnd, "Removing DC spectral line ....");
    Clear(sp.SpecLines[i]);
  }
}

// 9. Picks the peaks, highest first, each marked (freq 0) with its skirts
// cleared. A record leaves the candidates only by being picked or cleared and
// magnitudes never change otherwise, so the candidates in falling order give
// the picks in the order of repeated maximum searches (the lowest line first
// among equal magnitudes). The last pass finds no candidate and cleans the
// skirts of line 0.
void PickPeaks(SpectrumResults& sp, int H, Progress& progress) {
  SpecLine* lines = sp.SpecLines;
  progress.Text("Filtering spectral lines ....");
  int32_t* order = sp.PickOrder;
  int candidates = 0;
  for (int i = 0; i < H; ++i)
    if (lines[i].freq != 0 && lines[i].mag > 0) order[candidates++] = i;
  std::sort(order, order + candidates, [lines](int32_t a, int32_t b) {
    if (lines[a].mag != lines[b].mag) return lines[a].mag > lines[b].mag;
    return a < b;
  });
  int next = 0;
  for (;;) {
    while (next < candidates && lines[order[next]].freq == 0) ++next;
    const int p = next < candidates ? order[next] : 0;
    progress.Position(Progress::Percent(next, candidates));
    lines[p].freq = 0;
    CleanPeakTails(sp, p);
    if (!(lines[p].mag > sp.FloorLevel)) break;
    if (next >= candidates) break;  // p = 0 above: nothing more to pick
  }
}

}  // namespace

void AnalyseSpectrum(SpectrumResults& sp, double Fc, Progress& progress) {
  const int H = sp.FFT_N / 2;
  if (H <= 0) return;
  // The peak cleaning reads a few records past H - 1: they read as 0 in every run.
  for (int i = H; i < H + kLinesReadPastTheLast && i < kSampleCapacity; ++i)
    sp.SpecLines[i] = SpecLine{0, 0, 0};

  RecordLines(sp, Fc, H, progress);
  sp.FloorLevel = SmallestMagnitude(sp, H, progress);
  progress.Report(0, 1, "Ordering FFT spectral lines ....");
  OrderByMagnitude(sp.SpecLines, H);
  const int C = LastRecordNotBelowFloor(sp, H, progress);
  sp.FloorLevel = sp.FloorLevel + (sp.FundMag - sp.FloorLevel) * FloorFraction(C, H);
  ClearRecordsAtOrBelowFloor(sp, H, progress);
  BackToLineOrder(sp, H, progress);
  ClearDcSlope(sp, progress);
  PickPeaks(sp, H, progress);
}

namespace {

// The three lines next to the peak p on one side (dir -1 toward line 0, +1
// toward line H), bounded by line 0 on the left; on the right they may pass
// H (the records there are cleared lines). Returns the last level cleared.
double ClearNearLines(SpecLine* s, int p, int dir, int edge) {
  double v = 0;
  const int nearEnd = dir < 0 ? std::max(p - 3, edge) : p + 3;
  for (int i = p + dir; dir < 0 ? i >= nearEnd : i <= nearEnd; i += dir) {
    v = s[i].mag;
    Clear(s[i]);
  }
  return v;
}

// Clears one skirt of the picked peak p, walking away from it in direction
// dir and never past the line edge: the three lines next to the peak, then
// the falling slope, then the lines within delta of the last level cleared.
void CleanTail(SpecLine* s, int p, int dir, int edge, double delta) {
  const auto atEdge = [dir, edge](int j) { return dir < 0 ? j <= edge : j >= edge; };
  double v = ClearNearLines(s, p, dir, edge);
  int j = dir < 0 ? std::max(p - 4, edge) : std::min(p + 4, edge);
  // The falling slope: on while each line is strictly below the one before.
  if (v > s[j].mag) {
    for (bool goOn = true; goOn && !atEdge(j); j += dir) {
      v = s[j].mag;
      Clear(s[j]);
      goOn = v > s[j + dir].mag;
    }
  }
  // The band: lines within (v - delta, v + delta), both bounds excluded.
  if (s[j].mag > v - delta) {
    for (bool goOn = true; goOn && s[j].mag < v + delta && !atEdge(j); j += dir) {
      Clear(s[j]);
      goOn = s[j + dir].mag > v - delta;
    }
  }
}

}  // namespace

void CleanPeakTails(SpectrumResults& sp, int p) {
  const int H = sp.FFT_N / 2;
  SpecLine* s = sp.SpecLines;
  const double delta = (sp.FundMag - sp.FloorLevel) * kSkirtBandFraction;
  if (p > 0) CleanTail(s, p, -1, 0, delta);
  CleanTail(s, p, +1, H, delta);
  s[p].freq = 0;
}

void ParsevalEnergy(SpectrumResults& sp) {
  const int N = sp.FFT_N;
  double sum = 0.0;
  for (int k = 0; k <= N / 2; ++k)
    sum = sum +
          (sp.FFTre[k] * sp.FFTre[k] + sp.FFTim[k] * sp.FFTim[k]);
  sp.TotalEnergy = 2 * sum / N;
}

void SymmetryErrors(SpectrumResults& sp) {
  const int N = sp.FFT_N;
  sp.EvenSymErrRe = 0;
  sp.OddSymErrIm = 0;
  for (int k = 1; k <= N / 2 - 1; ++k) {
    const double er = std::fabs(sp.FFTre[k] - sp.FFTre[N - k]);
    const double ei = std::fabs(sp.FFTim[k] + sp.FFTim[N - k]);
    if (er > sp.EvenSymErrRe) sp.EvenSymErrRe = er;
    if (ei > sp.OddSymErrIm) sp.OddSymErrIm = ei;
  }
}

}  // namespace tz
