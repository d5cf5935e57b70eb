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

void AnalyseSpectrum(SpectrumResults& sp, double Fc, Progress& progress) {
  const int N = sp.FFT_N;
  const int H = N / 2;
  SpecLine* lines = sp.SpecLines;
  SpecLine* tmp = sp.SpecLinesTmp;
  if (H <= 0) return;

  // The peak cleaning reads a few lines past H-1: they read as 0 in every run.
  for (int i = H; i < H + kLinesReadPastTheLast && i < kSampleCapacity; ++i)
    lines[i] = SpecLine{0, 0, 0};

  // 1. One record per line below the Nyquist line.
  for (int i = 0; i < H; ++i) {
    progress.Report(i, H, "Calculating FFT floor level ....");
    lines[i] = SpecLine{i, (Fc / N) * i, LineMagnitude(sp, i)};
  }
  // 2. Smallest magnitude.
  sp.FloorLevel = LineMagnitude(sp, 0);
  for (int i = 0; i < H; ++i) {
    progress.Report(i, H, "Calculating FFT min ....");
    const double m = LineMagnitude(sp, i);
    if (m <= sp.FloorLevel) sp.FloorLevel = m;
  }
  // 3. The records ordered in place by falling magnitude.
  progress.Report(0, 1, "Ordering FFT spectral lines ....");
  OrderByMagnitude(lines, H);
  // 4. Position of the last record not below the floor.
  int C = H;
  for (int i = H - 1; i >= 0; --i) {
    progress.Report(H - 1 - i, H, "Calculating spectral lines under floor level ....");
    if (!(lines[i].mag < sp.FloorLevel)) {
      C = i;
      break;
    }
  }
  // 5. Raise the floor by the share of lines above it.
  auto t = [H](double x) { return static_cast<int>(H * x); };
  double fraction;
  if (C > t(0.9)) fraction = 0.012;
  else if (C > t(0.8)) fraction = 0.011000000000000001;
  else if (C > t(0.7)) fraction = 0.01;
  else if (C > t(0.6)) fraction = 0.009000000000000001;
  else if (C > t(0.5)) fraction = 0.008;
  else if (C > t(0.4)) fraction = 0.006999999999999999;
  else if (C > t(0.3)) fraction = 0.006;
  else fraction = 0.005;
  sp.FloorLevel =
      sp.FloorLevel + (sp.FundMag - sp.FloorLevel) * fraction;
  // 6. Clear the records at or below the floor.
  for (int i = 0; i < H; ++i) {
    progress.Report(i, H, "Removing spectral lines below FFT floor level ....");
    if (lines[i].mag <= sp.FloorLevel) Clear(lines[i]);
  }
  // 7. Back to line order through the scratch array; cleared records and
  // line 0 come back as {0, 0, 0}.
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
  // 8. The DC slope.
  const int dcEnd = std::min(sp.DCEndLine, kSampleCapacity - 1);
  for (int i = 0; i <= dcEnd; ++i) {
    progress.Report(i, dcEnd, "Removing DC spectral line ....");
    Clear(lines[i]);
  }
  // 9. Pick the peaks, highest first. A record leaves the candidates only by
  // being picked or cleared and magnitudes never change otherwise, so the
  // candidates in falling order give the picks in the order of repeated
  // maximum searches (the lowest line first among equal magnitudes).
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

namespace {

// Clears one skirt of the picked peak p, walking away from it in direction
// dir (-1 toward line 0, +1 toward line H) and never past the line edge:
// the three lines next to the peak, then the falling slope, then the lines
// within delta of the last level cleared.
void CleanTail(SpecLine* s, int p, int dir, int edge, double delta) {
  const auto atEdge = [dir, edge](int j) { return dir < 0 ? j <= edge : j >= edge; };
  double v = 0;
  // The lines next to the peak: bounded by line 0 on the left; on the right
  // they may pass H (the records there are cleared lines).
  const int nearEnd = dir < 0 ? std::max(p - 3, edge) : p + 3;
  for (int i = p + dir; dir < 0 ? i >= nearEnd : i <= nearEnd; i += dir) {
    v = s[i].mag;
    Clear(s[i]);
  }
  int j = dir < 0 ? std::max(p - 4, edge) : std::min(p + 4, edge);
  if (v > s[j].mag) {
    for (;;) {
      if (atEdge(j)) break;
      v = s[j].mag;
      Clear(s[j]);
      const bool goOn = v > s[j + dir].mag;
      j = j + dir;
      if (!goOn) break;
    }
  }
  if (s[j].mag > v - delta) {
    for (;;) {
      if (!(s[j].mag < v + delta)) break;
      if (atEdge(j)) break;
      Clear(s[j]);
      const bool goOn = s[j + dir].mag > v - delta;
      j = j + dir;
      if (!goOn) break;
    }
  }
}

}  // namespace

void CleanPeakTails(SpectrumResults& sp, int p) {
  const int H = sp.FFT_N / 2;
  SpecLine* s = sp.SpecLines;
  const double delta = (sp.FundMag - sp.FloorLevel) * 0.015;
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
